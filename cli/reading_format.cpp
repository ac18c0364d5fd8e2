// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/reading_format.h"

#include "cli/one_line_text.h"
#include "color/color_texts.h"
#include "text/number_text.h"

#include <array>
#include <vector>

namespace huegrab::cli {
namespace {

struct Field {
    std::string_view name;
    std::string text;
    bool quoted;        // a text in JSON, not a number
    bool inLine = true; // printed by the line and JSON forms, not only by templates
};

// Every field of a reading in the order the line and JSON forms print them.
std::vector<Field> Fields(const Reading& reading) {
    const ColorTexts texts = MakeColorTexts(MakeColorSample(
        reading.point ? reading.point->x : 0, reading.point ? reading.point->y : 0, reading.value));
    std::vector<Field> fields;
    if (reading.point) {
        fields.push_back({"x", DecimalText(reading.point->x), false});
        fields.push_back({"y", DecimalText(reading.point->y), false});
    }
    fields.push_back({"c", texts.value, false});
    fields.push_back({"hex", HexText(reading.value, reading.order), true});
    fields.push_back({"r", texts.r, false});
    fields.push_back({"g", texts.g, false});
    fields.push_back({"b", texts.b, false});
    fields.push_back({"h", texts.h, false});
    fields.push_back({"s", texts.s, false});
    fields.push_back({"l", texts.l, false});
    // Only for templates: the component pairs, and the web-order text.
    fields.push_back({"rhex", texts.rHex, true, false});
    fields.push_back({"ghex", texts.gHex, true, false});
    fields.push_back({"bhex", texts.bHex, true, false});
    fields.push_back({"rrggbb", HexText(reading.value, HexOrder::Rgb), true, false});
    return fields;
}

} // namespace

std::string HexText(ColorValue value, HexOrder order) {
    const std::string bgr = ColorToHexText(value);
    if (order == HexOrder::Bgr)
        return bgr;
    return bgr.substr(4, 2) + bgr.substr(2, 2) + bgr.substr(0, 2);
}

std::string FormatLine(const Reading& reading) {
    std::string line;
    for (const Field& field : Fields(reading)) {
        if (!field.inLine)
            continue;
        if (!line.empty())
            line += ' ';
        line.append(field.name).append("=").append(field.text);
    }
    return line;
}

std::string FormatJson(const Reading& reading) {
    std::string json = "{";
    for (const Field& field : Fields(reading)) {
        if (!field.inLine)
            continue;
        if (json.size() > 1)
            json += ',';
        // Names and values are digits, letters and "-": nothing to escape.
        json.append("\"").append(field.name).append("\":");
        json += field.quoted ? "\"" + field.text + "\"" : field.text;
    }
    return json + "}";
}

Expansion ExpandTemplate(std::string_view format, const Reading& reading) {
    const std::vector<Field> fields = Fields(reading);
    Expansion result;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if ((c == '{' || c == '}') && i + 1 < format.size() && format[i + 1] == c) {
            result.text += c;
            ++i;
            continue;
        }
        if (c == '}')
            return {{}, "a \"}\" without its \"{\" (write \"}}\" for a brace)"};
        if (c != '{') {
            result.text += c;
            continue;
        }
        const std::size_t close = format.find('}', i + 1);
        if (close == std::string_view::npos)
            return {{}, "a \"{\" without its \"}\" (write \"{{\" for a brace)"};
        const std::string_view name = format.substr(i + 1, close - i - 1);
        const Field* found = nullptr;
        for (const Field& field : fields) {
            if (field.name == name)
                found = &field;
        }
        if (!found)
            return {{}, "unknown field {" + OneLineText(name) + "}"};
        result.text += found->text;
        i = close;
    }
    return result;
}

} // namespace huegrab::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_document.h"

#include "text/blank_text.h"

#include <algorithm>

namespace huegrab {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

std::string_view TrimIniBlanks(std::string_view text) {
    return TrimBlanks(text, kIniBlanks);
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

// Text up to the first NUL, CR or LF: what a C string caller could pass and
// what fits on one line.
std::string_view OneLine(std::string_view text) {
    return text.substr(0, std::min(text.find_first_of(std::string_view("\0\r\n", 3)), text.size()));
}

std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// One physical line: its text is [begin, end), the next line starts at next.
struct LineSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    bool HasLineEnd() const { return next > end; }
};

enum class LineKind { Other, Section, Key };

struct LineMeaning {
    LineKind kind = LineKind::Other;
    std::string_view name;  // section or key name, blanks removed
    std::string_view value; // key lines only, blanks removed, quotes kept
};

LineMeaning Classify(std::string_view line) {
    const std::string_view text = TrimIniBlanks(line);
    if (text.empty() || text.front() == ';') {
        return {};
    }
    if (text.front() == '[') {
        const std::string_view inner = text.substr(1);
        return {LineKind::Section, TrimIniBlanks(inner.substr(0, inner.find(']'))), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {LineKind::Key, TrimIniBlanks(text.substr(0, equals)),
            TrimIniBlanks(text.substr(equals + 1))};
}

std::size_t ContentStart(std::string_view bytes) {
    return bytes.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
}

// Calls visit(span, meaning) for each line until it returns false.
template <typename Visitor> void ForEachLine(std::string_view bytes, Visitor&& visit) {
    std::size_t pos = ContentStart(bytes);
    while (pos < bytes.size()) {
        LineSpan span;
        span.begin = pos;
        span.end = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
        span.next = span.end;
        if (span.end < bytes.size()) {
            const bool crLf = bytes[span.end] == '\r' && span.end + 1 < bytes.size() &&
                              bytes[span.end + 1] == '\n';
            span.next = span.end + (crLf ? 2 : 1);
        }
        if (!visit(span, Classify(bytes.substr(span.begin, span.end - span.begin)))) {
            return;
        }
        pos = span.next;
    }
}

// Where a key lives, or would go, in the first section of a name.
struct KeyLocation {
    std::optional<LineSpan> header;
    std::optional<LineSpan> keyLine;
    std::string_view keyName; // as the file spells it
    std::optional<std::string_view> value;
    LineSpan lastKeyOrHeader; // a new key goes after this line
};

KeyLocation Locate(std::string_view bytes, std::string_view section, std::string_view key) {
    KeyLocation found;
    ForEachLine(bytes, [&](const LineSpan& span, const LineMeaning& meaning) {
        if (meaning.kind == LineKind::Section) {
            if (found.header) {
                return false; // the first section of the name has ended
            }
            if (SameName(meaning.name, section)) {
                found.header = span;
                found.lastKeyOrHeader = span;
            }
            return true;
        }
        if (meaning.kind == LineKind::Key && found.header) {
            found.lastKeyOrHeader = span;
            if (SameName(meaning.name, key)) {
                found.keyLine = span;
                found.keyName = meaning.name;
                found.value = meaning.value;
                return false;
            }
        }
        return true;
    });
    return found;
}

} // namespace

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    const KeyLocation found = Locate(bytes_, TrimIniBlanks(section), TrimIniBlanks(key));
    if (!found.value) {
        return std::nullopt;
    }
    return std::string(StripQuotes(*found.value));
}

std::string IniDocument::Read(std::string_view section, std::string_view key) const {
    std::string value = Find(section, key).value_or(std::string());
    value.resize(std::min({value.find('\0'), value.size(), kMaxSettingValueBytes}));
    return value;
}

bool IniDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sectionName = TrimIniBlanks(OneLine(section));
    const std::string_view keyName = TrimIniBlanks(OneLine(key));
    if (sectionName.empty() || keyName.empty()) {
        return false;
    }
    const KeyLocation found = Locate(bytes_, sectionName, keyName);
    if (found.keyLine) {
        std::string line(found.keyName);
        line.append("=").append(OneLine(value)).append(kLineEnd);
        bytes_.replace(found.keyLine->begin, found.keyLine->next - found.keyLine->begin, line);
        return true;
    }
    std::string keyLine;
    keyLine.append(keyName).append("=").append(OneLine(value)).append(kLineEnd);
    if (found.header) {
        const LineSpan& after = found.lastKeyOrHeader;
        if (!after.HasLineEnd()) {
            keyLine.insert(0, kLineEnd);
        }
        bytes_.insert(after.next, keyLine);
        return true;
    }
    const bool lastLineOpen =
        bytes_.size() > ContentStart(bytes_) && bytes_.back() != '\n' && bytes_.back() != '\r';
    if (lastLineOpen) {
        bytes_.append(kLineEnd);
    }
    bytes_.append("[").append(sectionName).append("]").append(kLineEnd).append(keyLine);
    return true;
}

} // namespace huegrab

#include "app/color_fields.h"

#include "app/form/form1.h"

#include <QLineEdit>

namespace huegrab {

void WriteColorTexts(const Form1& form, const ColorFieldNames& fields, const ColorTexts& texts) {
    const std::pair<std::string_view, const std::string*> writes[] = {
        {fields.hex, &texts.hex},   {fields.value, &texts.value}, {fields.rHex, &texts.rHex},
        {fields.gHex, &texts.gHex}, {fields.bHex, &texts.bHex},   {fields.r, &texts.r},
        {fields.g, &texts.g},       {fields.b, &texts.b},         {fields.h, &texts.h},
        {fields.s, &texts.s},       {fields.l, &texts.l}};
    for (const auto& [name, text] : writes) {
        if (name.empty())
            continue;
        if (QLineEdit* field = form.Field(name))
            field->setText(QString::fromStdString(*text));
    }
}

} // namespace huegrab

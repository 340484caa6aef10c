#include "controls/TextBox.h"

namespace tollen::controls {

void TextBox::setText(const std::string &text)
{
    m_text = text;
    textChanged();
    if (onChange) {
        onChange();
    }
}

void TextBox::setMasked(bool masked)
{
    m_masked = masked;
    maskedChanged();
}

void TextBox::acceptTypedText(const std::string &text)
{
    m_text = text;
    if (onChange) {
        onChange();
    }
}

} // namespace tollen::controls

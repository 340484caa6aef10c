#pragma once

#include "controls/Control.h"
#include "controls/Event.h"

#include <string>

namespace tollen::controls {

class TextBox : public Control
{
public:
    const std::string &text() const { return m_text; }
    /// Sets the text and raises onChange, as a typed change does.
    void setText(const std::string &text);
    /// Shows every character as "*".
    bool isMasked() const { return m_masked; }
    void setMasked(bool masked);

    Event<> onChange;

protected:
    virtual void textChanged() {}
    virtual void maskedChanged() {}
    /// For faces: store a text the user typed without rendering it back, then raise onChange.
    void acceptTypedText(const std::string &text);

private:
    std::string m_text;
    bool m_masked = false;
};

} // namespace tollen::controls

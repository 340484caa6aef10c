#include "ui/qt/QtTextBox.h"

#include <QSignalBlocker>

namespace tollen::ui::qt {

QtTextBox::QtTextBox(Placement placement) : WidgetControl(placement)
{
    QObject::connect(widget(), &QLineEdit::textEdited, widget(),
                     [this](const QString &text) { acceptTypedText(text.toStdString()); });
}

void QtTextBox::textChanged()
{
    const QString shown = toQString(text());
    if (widget()->text() != shown) {
        const QSignalBlocker blocker(widget());
        widget()->setText(shown);
    }
}

void QtTextBox::maskedChanged()
{
    widget()->setEchoMode(isMasked() ? QLineEdit::Password : QLineEdit::Normal);
    // The password character of the style is a bullet; the program masks with "*".
    widget()->setStyleSheet(isMasked() ? QStringLiteral("lineedit-password-character: 42;")
                                       : QString());
}

} // namespace tollen::ui::qt

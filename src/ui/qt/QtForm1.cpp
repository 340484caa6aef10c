#include "ui/qt/QtForm1.h"

#include "ui/Form1Design.h"
#include "ui/qt/ApplicationIcon.h"

#include <cmath>

namespace tollen::ui::qt {
namespace {

/// Gives a control's widget the control's design name; an option group names its buttons.
template <class Control> void nameWidget(Control &control, const char *name)
{
    control.widget()->setObjectName(QString::fromLatin1(name));
}

void nameWidget(QtOptionGroup &group, const char *name)
{
    group.setName(QString::fromLatin1(name));
}

} // namespace

QtForm1::QtForm1()
{
    const controls::PixelScale scale = window.twipsPerPixel();
    window.setInnerSize(static_cast<int>(std::lround(kForm1DesignWidth / scale.x)),
                        static_cast<int>(std::lround(kForm1DesignHeight / scale.y)));
    window.widget()->setWindowIcon(applicationIcon());
    // The window was designed for a small 8-point face; the captions that would not fit the
    // wider faces of this desktop grow to the right.
    QFont small = window.widget()->font();
    small.setPointSize(8);
    window.widget()->setFont(small);
    Label7.setFitsText(true);
    Label8.setFitsText(true);
    Check1.setFitsText(true);
    // The status line is drawn in a serif face, as designed.
    QFont serif = Label5.widget()->font();
    serif.setStyleHint(QFont::Serif);
    serif.setFamily(QStringLiteral("Serif"));
    Label5.widget()->setFont(serif);
    nameWidgets();
}

void QtForm1::nameWidgets()
{
    window.widget()->setObjectName(QStringLiteral("Form1"));
#define TOLLEN_QT_NAME_WIDGET(kind, name, place) nameWidget(name, #name);
    TOLLEN_FORM1_CONTROLS(TOLLEN_QT_NAME_WIDGET)
#undef TOLLEN_QT_NAME_WIDGET
}

Form1Controls QtForm1::controls()
{
    return Form1Controls::of(*this);
}

} // namespace tollen::ui::qt

#include "ui/qt/QtForm1.h"

#include "ui/Form1Design.h"
#include "ui/qt/ApplicationIcon.h"

#include <cmath>
#include <utility>

namespace tollen::ui::qt {

QtForm1::QtForm1()
    : Frame3(window), Option1(Frame3.inside()), Label1(Frame3.inside()), host(Frame3.inside()),
      Label2(Frame3.inside()), path(Frame3.inside()), Label3(Frame3.inside()),
      user(Frame3.inside()), pass(Frame3.inside()), Check1(Frame3.inside()), Frame1(window),
      ListView1(Frame1.inside()), Command4(Frame1.inside()), Command3(Frame1.inside()),
      Command2(Frame1.inside()), Command1(Frame1.inside()), Frame2(window), Label8(Frame2.inside()),
      List1(Frame2.inside()), Label6(Frame2.inside()), Label7(Frame2.inside()),
      List2(Frame2.inside()), ListView2(Frame2.inside()), Label5(Frame2.inside()),
      ProgressBar1(Frame2.inside()), Label9(Frame2.inside())
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
    Option1.setName(QStringLiteral("Option1"));
    const std::pair<QWidget *, const char *> names[] = {
        {Frame3.widget(), "Frame3"},       {Label1.widget(), "Label1"},
        {host.widget(), "host"},           {Label2.widget(), "Label2"},
        {path.widget(), "path"},           {Label3.widget(), "Label3"},
        {user.widget(), "user"},           {pass.widget(), "pass"},
        {Check1.widget(), "Check1"},       {Frame1.widget(), "Frame1"},
        {ListView1.widget(), "ListView1"}, {Command4.widget(), "Command4"},
        {Command3.widget(), "Command3"},   {Command2.widget(), "Command2"},
        {Command1.widget(), "Command1"},   {Frame2.widget(), "Frame2"},
        {Label8.widget(), "Label8"},       {List1.widget(), "List1"},
        {Label6.widget(), "Label6"},       {Label7.widget(), "Label7"},
        {List2.widget(), "List2"},         {ListView2.widget(), "ListView2"},
        {Label5.widget(), "Label5"},       {ProgressBar1.widget(), "ProgressBar1"},
        {Label9.widget(), "Label9"},
    };
    for (const auto &[widget, name] : names) {
        widget->setObjectName(QString::fromLatin1(name));
    }
}

Form1Controls QtForm1::controls()
{
    return Form1Controls{window, dialogs,      clipboard, launcher, eventLoop, Frame3,   Option1,
                         Label1, host,         Label2,    path,     Label3,    user,     pass,
                         Check1, Frame1,       ListView1, Command4, Command3,  Command2, Command1,
                         Frame2, Label8,       List1,     Label6,   Label7,    List2,    ListView2,
                         Label5, ProgressBar1, Label9};
}

} // namespace tollen::ui::qt

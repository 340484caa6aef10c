#include "ui/qt/QtSplash.h"

#include "ui/qt/ApplicationIcon.h"

#include <QGuiApplication>
#include <QScreen>

namespace tollen::ui::qt {
namespace {

/// The splash's inner area and its frame, in pixels.
constexpr int kSplashWidth = 480;
constexpr int kSplashHeight = 270;
constexpr controls::Geometry kFrameGeometry{6, 2, 468, 262};
/// The logo's place inside the frame, in twips.
constexpr controls::Geometry kLogoGeometry{300, 450, 1440, 1440};

void enlarge(QLabel &label, double factor, bool bold)
{
    QFont font = label.font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    label.setFont(font);
}

} // namespace

QtSplash::QtSplash()
    : window(Qt::Window | Qt::FramelessWindowHint), Frame1(window), Label1(Frame1.inside()),
      imgLogo(new QLabel(Frame1.widget())), lblVersion(Frame1.inside()),
      lblPlatform(Frame1.inside()), lblOwner(Frame1.inside()), lblMaker(Frame1.inside()),
      lblTagline(Frame1.inside())
{
    window.widget()->setObjectName(QStringLiteral("frmSplash"));
    window.setCaption(controls::kApplicationTitle);
    window.widget()->setWindowIcon(applicationIcon());
    const std::pair<QWidget *, const char *> names[] = {
        {Frame1.widget(), "Frame1"},
        {Label1.widget(), "Label1"},
        {imgLogo, "imgLogo"},
        {lblVersion.widget(), "lblVersion"},
        {lblPlatform.widget(), "lblPlatform"},
        {lblOwner.widget(), "lblOwner"},
        {lblMaker.widget(), "lblMaker"},
        {lblTagline.widget(), "lblTagline"},
    };
    for (const auto &[widget, name] : names) {
        widget->setObjectName(QString::fromLatin1(name));
    }
    enlarge(*Label1.widget(), 2.4, true);
    enlarge(*lblTagline.widget(), 1.1, false);
    layOut();
}

void QtSplash::layOut()
{
    window.setInnerSize(kSplashWidth, kSplashHeight);
    Frame1.setGeometry(kFrameGeometry);
    Label1.setGeometry({2000, 420, 4800, 700});
    lblTagline.setGeometry({2000, 1140, 4800, 300});
    lblVersion.setGeometry({2000, 1560, 4800, 300});
    lblPlatform.setGeometry({2000, 1860, 4800, 300});
    lblOwner.setGeometry({300, 3000, 6600, 255});
    lblMaker.setGeometry({300, 3300, 6600, 255});

    const QRect logo = toPixels(kLogoGeometry, window.twipsPerPixel());
    imgLogo->setGeometry(logo);
    imgLogo->setPixmap(applicationLogo(logo.width()));

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), QSize(kSplashWidth, kSplashHeight));
        frame.moveCenter(screen->availableGeometry().center());
        window.widget()->move(frame.topLeft());
    }
}

SplashControls QtSplash::controls()
{
    return SplashControls::of(*this);
}

} // namespace tollen::ui::qt

#include "ui/qt/ApplicationIcon.h"

namespace tollen::ui::qt {
namespace {

const QString kIconResource = QStringLiteral(":/tollen/tollen.png");

} // namespace

QIcon applicationIcon()
{
    return QIcon(kIconResource);
}

QPixmap applicationLogo(int size)
{
    return QPixmap(kIconResource).scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace tollen::ui::qt

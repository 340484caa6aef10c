#pragma once

#include <QIcon>
#include <QPixmap>

namespace tollen::ui::qt {

/// The program's icon (a chip under a magnifying glass), built into the program.
QIcon applicationIcon();
/// The icon drawn `size` pixels square, for the splash's logo.
QPixmap applicationLogo(int size);

} // namespace tollen::ui::qt

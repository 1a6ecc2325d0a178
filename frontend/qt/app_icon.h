// The application icon, drawn at run time: a flash drive with an upward
// arrow, at 16, 32 and 48 pixels.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <array>

namespace kelvane::frontend::qt {

inline constexpr std::array<int, 3> kIconSizes{16, 32, 48};

// One picture of the icon, `size` pixels square, with transparency.
QPixmap DrawApplicationIcon(int size);

// The icon with a picture for each of kIconSizes.
QIcon ApplicationIcon();

}  // namespace kelvane::frontend::qt

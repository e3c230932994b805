// The pictures the program carries itself, drawn rather than shipped: the
// list image of a country without one (301), the receiver picture used when
// "\Cfg\FenwoMan.bmp" is missing (305) and the window icon (252).
#pragma once

#include <QIcon>
#include <QImage>

namespace tarnwick::ui {

inline constexpr int kBuiltInListImage = 301;
inline constexpr int kBuiltInReceiverPicture = 305;
inline constexpr int kBuiltInIcon = 252;

// 16 x 18 pixels.
QImage builtInListImage();
// 198 x 198 pixels on white, made to be AND-ed onto the background.
QImage builtInReceiverPicture();
QIcon builtInIcon();

} // namespace tarnwick::ui

// The state pictures of the configuration lists (resources 265, 266, 267),
// drawn rather than shipped: an empty box for Disabled, a ticked box for
// Enabled and a padlock for Masked. Unavailable has no picture.
#pragma once

#include "setting_list.h"

#include <QIcon>
#include <QImage>

namespace tarnwick::ui {

inline constexpr int kStateIconSize = 16;

// 16 x 16 pixels on a transparent background; an Unavailable entry gets a
// blank one so its name lines up with the others.
QImage settingStateImage(SettingState state);
QIcon settingStateIcon(SettingState state);

} // namespace tarnwick::ui

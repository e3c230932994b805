// The demo's German language pack: every string and every dialog text of the
// program in German, as "Software\Resources\German Language.strings" carries
// them.
#pragma once

#include <string>

namespace tarnwick::demo {

std::string germanLanguagePack();

} // namespace tarnwick::demo

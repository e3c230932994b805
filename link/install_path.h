// Installation paths are written as "\Cfg\Name" texts relative to the working
// folder. They resolve with native separators, and a name whose case differs
// (data copied from a case-insensitive file system) is still found.
#pragma once

#include <filesystem>
#include <string_view>

namespace tarnwick {

// Either separator may be used in relative; empty components are ignored.
std::filesystem::path resolveInstallPath(const std::filesystem::path &workingFolder,
                                         std::string_view relative);

} // namespace tarnwick

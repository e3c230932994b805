// Folder listings in one stable order everywhere: names compared without
// regard to case, then byte by byte (the order a Windows volume lists them).
// User-list positions stored in template files depend on this order.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// Names of the sub-folders of folder, sorted; empty when it cannot be read.
std::vector<std::string> listSubfolders(const std::filesystem::path &folder);

// Names of the regular files of folder whose extension is extension (with
// the dot, compared without regard to case), sorted.
std::vector<std::string> listFilesWithExtension(const std::filesystem::path &folder,
                                                std::string_view extension);

void sortNames(std::vector<std::string> &names);

} // namespace tarnwick

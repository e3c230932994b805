// "Which port or file, and why" in words a technician can act on, for every
// front end alike. The words are English, like the system's own notes.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace tarnwick {

// Why a serial device did not open (an errno value): "busy — in use by
// another program"; a permission refusal also says how to fix it.
std::string portOpenReason(int errnoValue);
// One sentence: the device and portOpenReason().
std::string describePortFailure(const std::string &device, int errnoValue);
// One sentence: the file and why it could not be read or written.
std::string describeFileFailure(const std::filesystem::path &path, std::error_code error);
// Why a file could not be read or written, in those words.
std::string fileFailureReason(std::error_code error);

class StringTable;
// The system's "not saved" message for path, with the reason when there is
// one: every failed save says which file and why, in every front end.
std::string notSavedText(const StringTable &strings, const std::filesystem::path &path,
                         std::error_code error);

} // namespace tarnwick

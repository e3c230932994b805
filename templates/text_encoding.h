// Glossary and template texts are single-byte (Latin-1) characters, as the
// receiver stores them; terminals and widgets speak UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

std::string latin1ToUtf8(std::string_view text);
// Characters beyond Latin-1 become '?'; bytes that are not valid UTF-8 are
// taken as Latin-1 characters.
std::string utf8ToLatin1(std::string_view text);

} // namespace tarnwick

# cmake -DIN=<text file> -DOUT=<source> -DFUNCTION=<name> -P embed_text.cmake
# Writes a C++ source whose function tarnwick::demo::<name>() returns the
# file's bytes; kept as numbers, since long string literals are not portable.
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "(..)" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUT}.tmp"
     "// Generated from ${IN} by embed_text.cmake; edit that file instead.\n"
     "#include <string>\n"
     "namespace tarnwick::demo {\n"
     "namespace {\n"
     "constexpr char kBytes[] = {${bytes}};\n"
     "} // namespace\n"
     "std::string ${FUNCTION}() { return std::string(kBytes, sizeof kBytes); }\n"
     "} // namespace tarnwick::demo\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")

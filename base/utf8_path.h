// Paths from the programs' text. Every string that names a file is UTF-8: on Linux as the system
// has it, on Windows because the programs' manifest makes UTF-8 the code page and
// std::filesystem::path::string() gives UTF-8 there. But a path made from a plain char string on
// Windows takes each byte for a character of its own ("Mes démos" becomes "Mes dÃ©mos"), so a
// path built from a string goes through utf8Path, which reads it as UTF-8 everywhere (and leaves
// the bytes as they are on Linux).
#pragma once

#include <filesystem>
#include <string_view>

inline std::filesystem::path utf8Path(std::string_view text) {
    return std::filesystem::path(std::u8string_view(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

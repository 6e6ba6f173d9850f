// Windows keeps its paths in UTF-16; the game keeps them in UTF-8 and converts at each system call.
#pragma once
#include <string>

namespace vz {

std::wstring ancho(const std::string &utf8);
std::string utf8(const wchar_t *ancho);

} // namespace vz

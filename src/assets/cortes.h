// Data files cut short: the sizes that a picture's or a sound's header declares, checked against
// the file before the library reads it (the library takes a cut picture anyway, with rows of
// garbage, and its compressed-picture reader writes outside the picture on a cut file).
#pragma once
#include <string>

namespace vz {

// What is wrong with the BMP or WAV file at `ruta` ("is cut short: ..."), or "" when it holds all
// that its header declares. Files that the library would not read at all are left to it.
std::string corte(const char *ruta);

} // namespace vz

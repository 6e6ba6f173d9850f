// Level file loader.
#pragma once

namespace vz {

constexpr int TAM_NIVEL = 2801; // speed code, 1600 map bytes (row after row), 300 records of 4 bytes

// Replaces multi, mapa and the object records from a level file. A file that cannot be opened
// changes nothing.
void CargaMapa(const char *filename);

} // namespace vz

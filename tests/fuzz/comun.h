// Shared by the fuzz targets, which all start in a scratch directory holding datos/, levels/ and
// mp3/, with the game's pictures and sounds made by the headless start-up.
#pragma once
#include <cstddef>
#include <cstdint>

void escribe(const char *ruta, const uint8_t *datos, size_t n);

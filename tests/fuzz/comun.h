// Shared by the fuzz targets: a scratch directory to play in and a file written from the input.
#pragma once
#include <cstddef>
#include <cstdint>

// Creates a scratch directory with datos/, levels/ and mp3/ and makes it the working directory.
void entra_en_carpeta();
void escribe(const char *ruta, const uint8_t *datos, size_t n);

#include "assets/cortes.h"
#include "frame/lugares.h"
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vz {

namespace {

using Bytes = std::vector<unsigned char>;

const char *const CABECERA = "is cut short inside its header";

// `n` bytes at `p`, little-endian; the caller has checked that they are in the file.
uint32_t le(const Bytes &b, size_t p, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; i--)
        v = v << 8 | b[p + i];
    return v;
}

std::string filas(int64_t tiene, int64_t alto) {
    return "is cut short: it holds " + std::to_string(tiene) + " of its " + std::to_string(alto) +
           " rows of pixels";
}

// Walks compressed rows as the library reads them, from the bottom row up, to the end-of-picture
// code or past the top row. The library writes each pixel where the codes say, unchecked, so a
// run outside the picture is refused too.
std::string corte_rle(const Bytes &b, size_t p, int64_t ancho, int64_t alto, bool rle4) {
    if (alto < 0) return "is damaged: a compressed picture cannot be stored top-down";
    for (int64_t fila = alto - 1; fila >= 0; fila--) {
        for (int64_t x = 0; x - 1 <= ancho;) {
            if (p + 2 > b.size()) return filas(alto - 1 - fila, alto);
            const unsigned n = b[p], v = b[p + 1];
            p += 2;
            unsigned pixeles = n, datos = 0;
            if (n == 0 && v == 0) break; // end of row
            if (n == 0 && v == 1) return "";
            if (n == 0 && v == 2) {
                if (p + 2 > b.size()) return filas(alto - 1 - fila, alto);
                x += b[p];
                fila -= b[p + 1];
                p += 2;
                continue;
            }
            if (n == 0) { // v pixels stored as they are, padded to 16 bits
                pixeles = v;
                datos = rle4 ? (v + 3) / 4 * 2 : v + (v & 1);
            }
            if (fila < 0 || x + pixeles > ancho)
                return "is damaged: its compressed pixels run outside the picture";
            if (p + datos > b.size()) return filas(alto - 1 - fila, alto);
            p += datos;
            x += pixeles;
        }
    }
    return "";
}

std::string corte_bmp(const Bytes &b) {
    if (b.size() >= 2 && (b[0] != 'B' || b[1] != 'M')) return "";
    if (b.size() < 18) return CABECERA;
    const uint32_t info = le(b, 14, 4); // Windows (40) or OS/2 (12): the two the library reads
    if (info != 40 && info != 12) return "";
    if (b.size() < 14 + info) return CABECERA;
    const bool os2 = info == 12;
    // Windows sizes are signed (a negative height is a top-down picture), OS/2 ones are not.
    const int64_t ancho = os2 ? int64_t{le(b, 18, 2)} : int64_t{static_cast<int32_t>(le(b, 18, 4))};
    const int64_t alto = os2 ? int64_t{le(b, 20, 2)} : int64_t{static_cast<int32_t>(le(b, 22, 4))};
    const uint32_t bits = le(b, os2 ? 24 : 28, 2), compresion = os2 ? 0 : le(b, 30, 4);
    if (ancho <= 0 || alto == 0 || bits > 32 || compresion > 3) return ""; // the library refuses it
    // The pixels follow the palette, at the offset that the header gives; with bit fields, the
    // three colour masks come first, whatever that offset says.
    const size_t desde = compresion == 3 ? 66 : std::max<size_t>(le(b, 10, 4), 14 + info);
    if (compresion == 1 || compresion == 2)
        return corte_rle(b, desde, ancho, alto, compresion == 2);
    // Rows are padded to four bytes; bottom-up or top-down (a negative height) alike.
    const uint64_t fila = (static_cast<uint64_t>(ancho) * bits + 31) / 32 * 4;
    const int64_t tiene = desde >= b.size() || fila == 0 ? 0 : (b.size() - desde) / fila;
    return fila > 0 && tiene < std::abs(alto) ? filas(tiene, std::abs(alto)) : "";
}

// Walks the chunks as the library does, to the sound data.
std::string corte_wav(const Bytes &b) {
    if (b.size() >= 4 && std::memcmp(b.data(), "RIFF", 4) != 0) return "";
    if (b.size() < 12) return CABECERA;
    if (std::memcmp(&b[8], "WAVE", 4) != 0) return "";
    for (size_t p = 12;;) {
        if (p == b.size()) return "is cut short: it ends before its sound data";
        if (p + 8 > b.size()) return CABECERA;
        const uint32_t largo = le(b, p + 4, 4);
        const size_t tiene = b.size() - p - 8;
        if (std::memcmp(&b[p], "data", 4) == 0)
            return largo <= tiene ? ""
                                  : "is cut short: it holds " + std::to_string(tiene) + " of the " +
                                        std::to_string(largo) + " bytes of its sound data";
        if (largo > tiene) return CABECERA;
        p += 8 + largo;
    }
}

} // namespace

std::string corte(const char *ruta) {
    Bytes b;
    if (!lee_entero(ruta, b)) return ""; // missing or unreadable: the library says so
    const char *ext = std::strrchr(ruta, '.');
    if (ext != nullptr && std::strcmp(ext, ".bmp") == 0) return corte_bmp(b);
    if (ext != nullptr && std::strcmp(ext, ".wav") == 0) return corte_wav(b);
    return "";
}

} // namespace vz

// Pictures and sounds whole or one row or one byte short, and pictures in the layouts the library
// reads besides ours (the start-up tests cut the shipped files).
#include "assets/cortes.h"
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <tuple>

using namespace std::string_literals;

namespace {

std::string le(uint64_t v, int n) { // n bytes, little-endian
    return n == 0 ? "" : std::string(1, static_cast<char>(v)) + le(v >> 8, n - 1);
}
// A 4 x |h| picture, 8 bits a pixel, compression c (1: RLE8), with these pixel bytes.
std::string bmp(int32_t h, int c, const std::string &pixeles) {
    return "BM" + le(0, 8) + le(1078, 4) + le(40, 4) + le(4, 4) + le(h, 4) + le(1, 2) + le(8, 2) +
           le(c, 4) + std::string(20 + 1024, 0) + pixeles;
}

TEST(Cortes, FilesShortOfTheirDataAndCompressedPicturesRunningOutsideAreRefused) {
    const std::string wav = "RIFF" + le(0, 4) + "WAVEdata" + le(4, 4) + "abc";
    const std::tuple<std::string, std::string, std::string> casos[] = {
        {"entero.bmp", bmp(2, 0, std::string(8, 1)), ""},
        {"corto.bmp", bmp(2, 0, std::string(7, 1)), "it holds 1 of its 2 rows"},
        {"entero.wav", wav + "d", ""},
        {"corto.wav", wav, "it holds 3 of the 4 bytes of its sound data"},
        {"arriba.bmp", bmp(-2, 0, std::string(3, 1)), "it holds 0 of its 2 rows"},
        {"rle.bmp", bmp(2, 1, "\4\7\0\0\4\3\0\1"s), ""}, // a row of four 7s under one of 3s
        {"rle_corto.bmp", bmp(2, 1, "\4\7\0\0\4\3"s), "it holds 1 of its 2 rows"},
        {"rle_suelto.bmp", bmp(2, 1, "\0\4\1\2"s), "it holds 0 of its 2 rows"}, // 4 as they are
        {"rle_ancho.bmp", bmp(2, 1, "\5\7\0\1"s), "run outside the picture"},
        {"rle_arriba.bmp", bmp(-2, 1, "\4\7\0\1"s), "top-down"},
    };
    for (const auto &[nombre, bytes, esperado] : casos) {
        const std::string ruta = ::testing::TempDir() + std::to_string(getpid()) + nombre;
        std::ofstream(ruta, std::ios::binary) << bytes;
        const std::string dice = vz::corte(ruta.c_str()); // "" when whole
        EXPECT_TRUE(esperado.empty() ? dice.empty() : dice.find(esperado) != std::string::npos)
            << nombre << ": " << dice;
        std::filesystem::remove(ruta);
    }
}

} // namespace

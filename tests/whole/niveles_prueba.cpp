#include "niveles_prueba.h"
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace prueba {

nivel::Nivel nivel_corto()
{
    nivel::Nivel n;
    n.velocidad = 3;
    for (int r = 0; r < nivel::FILAS; r++)
        for (int c = 0; c < nivel::COLUMNAS; c++)
            n.mapa[r][c] = static_cast<uint8_t>(r < 4 ? r * 2 + c % 2 : 30 + r);
    return n;
}

void pon_niveles(const std::string &dir, std::initializer_list<nivel::Nivel> niveles)
{
    std::filesystem::remove_all(dir + "/levels");
    std::filesystem::create_directories(dir + "/levels");
    int i = 1;
    for (const auto &n : niveles) {
        char nombre[32];
        std::snprintf(nombre, sizeof nombre, "/levels/%02d.map", i++);
        escribe(dir + nombre, nivel::a_binario(n));
    }
}

Bytes lee(const std::string &ruta)
{
    std::ifstream in(ruta, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void escribe(const std::string &ruta, const Bytes &b)
{
    std::ofstream(ruta, std::ios::binary)
        .write(reinterpret_cast<const char *>(b.data()), static_cast<std::streamsize>(b.size()));
}

void pon_registro(Bytes &b, int tabla, int fila, uint32_t puntos, const char *ini, unsigned char reservado)
{
    unsigned char *r = b.data() + 80 * tabla + 8 * fila;
    for (int i = 0; i < 4; i++) r[i] = static_cast<unsigned char>(puntos >> (8 * i));
    for (int i = 0; i < 3; i++) r[4 + i] = static_cast<unsigned char>(ini[i]);
    r[7] = reservado;
}

Bytes ranking_de_prueba()
{
    Bytes b(240);
    const uint32_t puntos[10] = {50000, 30000, 12000, 9000, 8000, 7000, 6000, 5000, 4000, 1000};
    const char *ini[10] = {"ANA", "BOB", "CEC", "DAN", "EVA", "FER", "GUS", "HUG", "IVO", "JOE"};
    for (int t = 0; t < 3; t++)
        for (int f = 0; f < 10; f++)
            pon_registro(b, t, f, puntos[f] + 7 * (2 - t), ini[f], static_cast<unsigned char>(0x40 + 10 * t + f));
    pon_registro(b, 0, 9, 5, "OK\0", 0x77);
    return b;
}

std::string legible(const Bytes &b)
{
    std::string out;
    for (size_t r = 0; r + 8 <= b.size(); r += 8) {
        char linea[64];
        const uint32_t p = b[r] | b[r + 1] << 8 | b[r + 2] << 16 | static_cast<uint32_t>(b[r + 3]) << 24;
        std::snprintf(linea, sizeof linea, "%zu: %u %c%c%c %02x\n", r / 8, p, b[r + 4] ? b[r + 4] : '.',
                      b[r + 5] ? b[r + 5] : '.', b[r + 6] ? b[r + 6] : '.', b[r + 7]);
        out += linea;
    }
    return out + (b.size() % 8 ? "(and a partial record)\n" : "");
}

void espera(double segundos)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(segundos * 1000)));
}

} // namespace prueba

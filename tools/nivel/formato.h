// Level files: the binary .map layout and its readable text form.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace nivel {

constexpr int COLUMNAS = 200;
constexpr int FILAS = 8;
constexpr int OBJETOS = 300;
constexpr int TAM = 1 + COLUMNAS * FILAS + 4 * OBJETOS; // 2801
constexpr int MAX_COLUMNA = 800; // four passes of 200 columns
constexpr int MAX_TILE = 39;
constexpr int MAX_TIPO = 8;

struct Objeto {
    int columna = 0;
    int posy = 0;
    int tipo = 0;
};

struct Nivel {
    int velocidad = 1;
    std::array<std::array<uint8_t, COLUMNAS>, FILAS> mapa{}; // [row][column]
    std::vector<Objeto> objetos;                             // record order, at most 300
};

// Text -> level. On error returns false and sets `error` to "<name>:<line>: <what>".
bool lee_texto(const std::string &texto, const std::string &nombre, Nivel &n, std::string &error);
std::string escribe_texto(const Nivel &n);

// Level -> the 2801 bytes of a .map file, and back (any byte values; ranges are not checked).
std::vector<uint8_t> a_binario(const Nivel &n);
bool de_binario(const std::vector<uint8_t> &datos, Nivel &n, std::string &error);

// The game draws every non-empty record whose screen x is -35..317, over every view it shows: from
// the first (left edge at level x 36) to the level's end (25280) plus the last tick's overshoot.
constexpr int MAX_VISIBLES = 30;
// Largest number of objects visible at once; `columna` (if given) gets the view's left edge column.
int max_visibles(const Nivel &n, int *columna = nullptr);

} // namespace nivel

// Ranking tool: turns the readable starting tables into the game's 240-byte ranking file.
//   ranking <in.txt> <out.dat>
//
// Text form: "tabla <difficulty 0-2>" opens a table; each of its ten lines is "<score> <initials>",
// highest score first; '#' starts a comment. Every difficulty has exactly one table.
#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int TABLAS = 3, FILAS = 10, REGISTRO = 8;
constexpr long MAX_PUNTOS = 999999; // the table shows six digits

struct Fila {
    long puntos = -1;
    std::string iniciales;
};

bool entero(const std::string &s, long &v) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    v = std::stol(s);
    return true;
}

bool iniciales_validas(const std::string &s) {
    if (s.size() != 3) return false;
    for (char c : s)
        if (c < 'A' || c > 'Z') return false;
    return true;
}

// Reads the text; on error returns false with "<name>:<line>: <what>" in `error`.
bool lee(std::istream &in, const std::string &nombre, std::array<std::vector<Fila>, TABLAS> &tablas,
         std::string &error) {
    int num = 0, actual = -1;
    std::array<bool, TABLAS> vista{};
    auto falla = [&](const std::string &que) {
        error = nombre + ":" + std::to_string(num) + ": " + que;
        return false;
    };
    auto cierra = [&]() { return actual < 0 || tablas[actual].size() == FILAS; };
    for (std::string linea; std::getline(in, linea);) {
        num++;
        const auto p = linea.find('#');
        std::istringstream ws(p == std::string::npos ? linea : linea.substr(0, p));
        std::vector<std::string> w;
        for (std::string x; ws >> x;)
            w.push_back(x);
        if (w.empty()) continue;
        if (w[0] == "tabla") {
            if (!cierra()) return falla("the table before has fewer than 10 rows");
            long d;
            if (w.size() != 2 || !entero(w[1], d) || d >= TABLAS)
                return falla("expected: tabla <0, 1 or 2>");
            if (vista[d]) return falla("table " + w[1] + " given twice");
            vista[d] = true;
            actual = static_cast<int>(d);
            continue;
        }
        if (actual < 0) return falla("a row before the first 'tabla' line");
        Fila f;
        if (w.size() != 2 || !entero(w[0], f.puntos)) return falla("expected: <score> <initials>");
        if (f.puntos > MAX_PUNTOS) return falla("score above 999999");
        if (!iniciales_validas(w[1])) return falla("initials must be three letters A-Z");
        auto &t = tablas[actual];
        if (t.size() == FILAS) return falla("more than 10 rows");
        if (!t.empty() && f.puntos > t.back().puntos)
            return falla("scores must go from highest to lowest");
        f.iniciales = w[1];
        t.push_back(f);
    }
    num++;
    if (!cierra()) return falla("the last table has fewer than 10 rows");
    for (int d = 0; d < TABLAS; d++)
        if (!vista[d]) return falla("no table " + std::to_string(d));
    return true;
}

// Record r of table d at 80 d + 8 r: score (32-bit little-endian), three initials, a zero byte.
std::vector<uint8_t> a_bytes(const std::array<std::vector<Fila>, TABLAS> &tablas) {
    std::vector<uint8_t> b(TABLAS * FILAS * REGISTRO, 0);
    for (int d = 0; d < TABLAS; d++)
        for (int r = 0; r < FILAS; r++) {
            uint8_t *p = b.data() + (d * FILAS + r) * REGISTRO;
            const auto &f = tablas[d][r];
            const auto v = static_cast<uint32_t>(f.puntos);
            for (int k = 0; k < 4; k++)
                p[k] = static_cast<uint8_t>(v >> (8 * k));
            for (int k = 0; k < 3; k++)
                p[4 + k] = static_cast<uint8_t>(f.iniciales[k]);
        }
    return b;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::cerr << "usage: ranking <in.txt> <out.dat>\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << argv[1] << ": cannot read\n";
        return 1;
    }
    std::array<std::vector<Fila>, TABLAS> tablas;
    std::string error;
    if (!lee(in, argv[1], tablas, error)) {
        std::cerr << error << '\n';
        return 1;
    }
    const auto bytes = a_bytes(tablas);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    return 0;
}

// Level tool: compiles a readable level text into a .map file, turns a .map back into text, and
// plays levels with the game's own logic to tell whether and how they can be won.
//   nivel compila <in.txt> <out.map>
//   nivel texto <in.map> [out.txt]
//   nivel prueba <file.map>...
#include "formato.h"
#include "prueba.h"
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace {

bool lee(const std::string &ruta, std::string &contenido)
{
    std::ifstream in(ruta, std::ios::binary);
    if (!in) return false;
    contenido.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

int uso()
{
    std::cerr << "usage: nivel compila <in.txt> <out.map>\n"
                 "       nivel texto <in.map> [out.txt]\n"
                 "       nivel prueba <file.map>...\n";
    return 2;
}

const char *const DIFICULTADES[3] = {"VOY DE PASEO", "QUIERO JUGAR", "SOY JODIDO"};

// The first starting phase a level is lost from, in words.
std::string fase(const nivel::Prueba &p)
{
    char t[80];
    std::snprintf(t, sizeof t, "tick %% 4 = %d at its first tick, scroll carry %.2g", p.falla_tick,
                  p.falla_fraccion);
    return t;
}

// One line per difficulty: winnable, tightest moment, best score. Status 1 when some level is not
// winnable on some difficulty, so that scripts can use it.
int prueba(int argc, char **argv)
{
    if (!nivel::prepara_prueba()) {
        std::cerr << "nivel: the game library does not start\n";
        return 1;
    }
    int estado = 0;
    for (int i = 2; i < argc; i++) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::cerr << argv[i] << ": cannot read\n";
            return 1;
        }
        std::cout << argv[i] << '\n';
        for (int d = 0; d < 3; d++) {
            const nivel::Prueba p = nivel::prueba(argv[i], d);
            char linea[160];
            std::snprintf(linea, sizeof linea, "  %-13s winnable %-3s", DIFICULTADES[d],
                          p.ganable ? "yes" : "no");
            std::cout << linea;
            if (p.tension_ms >= 0)
                std::snprintf(linea, sizeof linea, "  tightest %5d ms at column %3d", p.tension_ms,
                              p.columna);
            else
                std::snprintf(linea, sizeof linea, "  tightest     - (no barrel forces a move)");
            std::cout << linea << "  best " << p.mejor;
            if (!p.ganable) {
                estado = 1;
                std::cout << "  (lost from " << p.fases - p.ganadas << " of " << p.fases
                          << " starting phases, first " << fase(p) << ")";
            }
            if (!p.completa) std::cout << "  (search narrowed: best is a floor)";
            std::cout << '\n';
        }
    }
    return estado;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) return uso();
    if (std::string(argv[1]) == "prueba") return prueba(argc, argv);
    const std::string orden = argv[1], entrada = argv[2];
    std::string contenido, error;
    if (!lee(entrada, contenido)) {
        std::cerr << entrada << ": cannot read\n";
        return 1;
    }
    nivel::Nivel n;
    if (orden == "compila" && argc == 4) {
        if (!nivel::lee_texto(contenido, entrada, n, error)) {
            std::cerr << error << '\n';
            return 1;
        }
        int columna = 0;
        const int vistos = nivel::max_visibles(n, &columna);
        if (vistos > nivel::MAX_VISIBLES) {
            std::cerr << entrada << ": " << vistos
                      << " objects visible at once with the view at column " << columna
                      << " (at most " << nivel::MAX_VISIBLES << ")\n";
            return 1;
        }
        const auto bytes = nivel::a_binario(n);
        {
            std::ofstream out(argv[3], std::ios::binary);
            out.write(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            if (!out) {
                std::cerr << argv[3] << ": cannot write\n";
                return 1;
            }
        }
        // The game plays the written file, so the check is made on exactly what ships.
        const nivel::Prueba p =
            nivel::prepara_prueba() ? nivel::prueba(argv[3], 0) : nivel::Prueba{};
        if (!p.ganable) {
            std::remove(argv[3]);
            std::cerr << entrada << ": cannot be won on VOY DE PASEO without losing a life";
            if (p.ganadas > 0) std::cerr << " from " << fase(p);
            std::cerr << '\n';
            return 1;
        }
        return 0;
    }
    if (orden == "texto" && (argc == 3 || argc == 4)) {
        if (!nivel::de_binario(std::vector<uint8_t>(contenido.begin(), contenido.end()), n,
                               error)) {
            std::cerr << entrada << ": " << error << '\n';
            return 1;
        }
        const std::string texto = nivel::escribe_texto(n);
        if (argc == 3) {
            std::cout << texto;
            return 0;
        }
        std::ofstream out(argv[3], std::ios::binary);
        out << texto;
        return out ? 0 : 1;
    }
    return uso();
}

#include "formato.h"
#include <algorithm>
#include <map>
#include <sstream>

namespace nivel {

namespace {

const char *const NOMBRES_TIPO[MAX_TIPO + 1] = {"vacio",  "bicho1",  "bicho2", "bicho3", "bicho4",
                                                "bicho5", "peligro", "bolsa",  "restos"};
// Characters the text form gives to tile indexes 0..255 when it writes a legend.
const std::string SIMBOLOS = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int POSY_CARRIL0 = 24; // lane k stands at posy 24 + 24k
constexpr int BLOQUE = 50;       // columns per block of map lines in written text

bool entero(const std::string &s, int &v)
{
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    v = std::stoi(s);
    return true;
}

std::string sin_comentario(const std::string &linea)
{
    const auto p = linea.find('#');
    std::string s = p == std::string::npos ? linea : linea.substr(0, p);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.pop_back();
    return s;
}

std::vector<std::string> palabras(const std::string &s)
{
    std::istringstream in(s);
    std::vector<std::string> v;
    for (std::string w; in >> w;) v.push_back(w);
    return v;
}

bool tipo_de(const std::string &w, int &tipo)
{
    for (int t = 0; t <= MAX_TIPO; t++)
        if (w == NOMBRES_TIPO[t]) {
            tipo = t;
            return true;
        }
    return entero(w, tipo) && tipo <= MAX_TIPO;
}

} // namespace

bool lee_texto(const std::string &texto, const std::string &nombre, Nivel &n, std::string &error)
{
    n = Nivel{};
    n.velocidad = 0;
    std::map<char, int> leyenda;
    std::array<std::string, FILAS> filas;
    int fila_bloque = 0; // row of the next map line within its block of 8
    enum { NADA, MAPA, OBJETOS_ } seccion = NADA;
    int num = 0;
    auto falla = [&](const std::string &que) {
        error = nombre + ":" + std::to_string(num) + ": " + que;
        return false;
    };

    std::istringstream in(texto);
    for (std::string bruta; std::getline(in, bruta);) {
        num++;
        const std::string linea = sin_comentario(bruta);
        const auto w = palabras(linea);
        if (w.empty()) continue; // blank, or other white space only (a vertical tab, say)
        if (w[0] == "velocidad") {
            if (w.size() != 2 || !entero(w[1], n.velocidad) || n.velocidad < 1 || n.velocidad > 3)
                return falla("speed code must be 1, 2 or 3");
            seccion = NADA;
        } else if (w[0] == "tile") {
            int t;
            if (w.size() != 3 || w[1].size() != 1) return falla("expected: tile <char> <index>");
            if (w[1][0] == '#') return falla("'#' starts a comment and cannot name a tile");
            if (!entero(w[2], t) || t > MAX_TILE) return falla("tile index must be 0..39");
            if (leyenda.count(w[1][0])) return falla(std::string("character '") + w[1] + "' given twice");
            leyenda[w[1][0]] = t;
            seccion = NADA;
        } else if (w[0] == "mapa" && w.size() == 1) {
            seccion = MAPA;
        } else if (w[0] == "objetos" && w.size() == 1) {
            if (fila_bloque != 0) return falla("map block ends before its 8th row");
            seccion = OBJETOS_;
        } else if (seccion == MAPA) {
            for (char c : linea)
                if (!leyenda.count(c))
                    return falla(std::string("character '") + c + "' is not in the legend");
            filas[fila_bloque] += linea;
            if (fila_bloque > 0 && filas[fila_bloque].size() != filas[0].size())
                return falla("map rows of one block differ in length");
            fila_bloque = (fila_bloque + 1) % FILAS;
        } else if (seccion == OBJETOS_) {
            Objeto o;
            if (w.size() == 1 && w[0] == "vacio") {
                n.objetos.push_back(o);
            } else {
                if (w.size() != 3) return falla("expected: <column> <lane 0-3 | y=N> <kind>");
                if (!entero(w[0], o.columna) || o.columna > MAX_COLUMNA)
                    return falla("column must be 0..800");
                int carril;
                if (w[1].rfind("y=", 0) == 0) {
                    if (!entero(w[1].substr(2), o.posy) || o.posy > 255) return falla("y must be 0..255");
                } else if (entero(w[1], carril) && carril <= 3) {
                    o.posy = POSY_CARRIL0 + 24 * carril;
                } else {
                    return falla("lane must be 0..3 or y=N");
                }
                if (!tipo_de(w[2], o.tipo)) return falla("unknown kind '" + w[2] + "'");
                n.objetos.push_back(o);
            }
            if (static_cast<int>(n.objetos.size()) > OBJETOS) return falla("more than 300 objects");
        } else {
            return falla("unexpected line: " + linea);
        }
    }
    num++;
    if (n.velocidad == 0) return falla("no 'velocidad' line");
    if (fila_bloque != 0) return falla("map block ends before its 8th row");
    if (static_cast<int>(filas[0].size()) != COLUMNAS)
        return falla("the map has " + std::to_string(filas[0].size()) + " columns, not 200");
    for (int r = 0; r < FILAS; r++)
        for (int c = 0; c < COLUMNAS; c++) n.mapa[r][c] = static_cast<uint8_t>(leyenda[filas[r][c]]);
    return true;
}

std::string escribe_texto(const Nivel &n)
{
    std::ostringstream out;
    out << "# VORK-ZEL level\nvelocidad " << n.velocidad << "\n\n";
    std::map<int, char> usados;
    for (const auto &fila : n.mapa)
        for (uint8_t t : fila) usados[t] = t < static_cast<int>(SIMBOLOS.size()) ? SIMBOLOS[t] : '?';
    // Tiles beyond the symbol table get printable characters nobody else uses.
    char extra = '!';
    for (auto &[t, c] : usados) {
        if (c != '?') continue;
        while (SIMBOLOS.find(extra) != std::string::npos || extra == '#') extra++;
        c = extra++;
    }
    for (const auto &[t, c] : usados) out << "tile " << c << ' ' << t << '\n';
    out << "\nmapa\n";
    for (int desde = 0; desde < COLUMNAS; desde += BLOQUE) {
        for (const auto &fila : n.mapa) {
            for (int c = desde; c < desde + BLOQUE; c++) out << usados[fila[c]];
            out << '\n';
        }
        out << '\n';
    }
    out << "objetos\n";
    int ultimo = static_cast<int>(n.objetos.size());
    while (ultimo > 0 && n.objetos[ultimo - 1].columna == 0 && n.objetos[ultimo - 1].posy == 0 &&
           n.objetos[ultimo - 1].tipo == 0)
        ultimo--;
    for (int i = 0; i < ultimo; i++) {
        const Objeto &o = n.objetos[i];
        if (o.columna == 0 && o.posy == 0 && o.tipo == 0) {
            out << "vacio\n";
            continue;
        }
        out << o.columna << ' ';
        if (o.posy >= POSY_CARRIL0 && o.posy <= POSY_CARRIL0 + 72 && (o.posy - POSY_CARRIL0) % 24 == 0)
            out << (o.posy - POSY_CARRIL0) / 24;
        else
            out << "y=" << o.posy;
        out << ' ';
        if (o.tipo >= 0 && o.tipo <= MAX_TIPO)
            out << NOMBRES_TIPO[o.tipo];
        else
            out << o.tipo;
        out << '\n';
    }
    return out.str();
}

std::vector<uint8_t> a_binario(const Nivel &n)
{
    std::vector<uint8_t> d(TAM, 0);
    d[0] = static_cast<uint8_t>(n.velocidad);
    for (int r = 0; r < FILAS; r++)
        for (int c = 0; c < COLUMNAS; c++) d[1 + r * COLUMNAS + c] = n.mapa[r][c];
    for (size_t i = 0; i < n.objetos.size() && i < OBJETOS; i++) {
        uint8_t *p = d.data() + 1 + COLUMNAS * FILAS + 4 * i;
        p[0] = static_cast<uint8_t>(n.objetos[i].columna);
        p[1] = static_cast<uint8_t>(n.objetos[i].columna >> 8);
        p[2] = static_cast<uint8_t>(n.objetos[i].posy);
        p[3] = static_cast<uint8_t>(n.objetos[i].tipo);
    }
    return d;
}

bool de_binario(const std::vector<uint8_t> &datos, Nivel &n, std::string &error)
{
    if (datos.size() < static_cast<size_t>(TAM)) {
        error = "file has " + std::to_string(datos.size()) + " bytes, a level has 2801";
        return false;
    }
    n = Nivel{};
    n.velocidad = datos[0];
    for (int r = 0; r < FILAS; r++)
        for (int c = 0; c < COLUMNAS; c++) n.mapa[r][c] = datos[1 + r * COLUMNAS + c];
    for (int i = 0; i < OBJETOS; i++) {
        const uint8_t *p = datos.data() + 1 + COLUMNAS * FILAS + 4 * i;
        n.objetos.push_back({p[0] | p[1] << 8, p[2], p[3]});
    }
    return true;
}

int max_visibles(const Nivel &n, int *columna)
{
    // Before x 36 the game's unsigned test shows nothing. The tick that ends the fourth pass
    // scrolls on by what is left of its step, less than a column at any refresh rate from 25 Hz.
    constexpr int PRIMERA_VISTA = 36, ULTIMA_VISTA = 4 * COLUMNAS * 32 - 320 + 31;
    std::vector<int> xs;
    for (const auto &o : n.objetos)
        if (o.tipo != 0) xs.push_back(o.columna * 32);
    std::sort(xs.begin(), xs.end());
    int mejor = 0;
    for (int v = PRIMERA_VISTA; v <= ULTIMA_VISTA; v++) {
        const auto desde = std::lower_bound(xs.begin(), xs.end(), v - 35);
        const auto hasta = std::upper_bound(xs.begin(), xs.end(), v + 317);
        if (hasta - desde > mejor) {
            mejor = static_cast<int>(hasta - desde);
            if (columna != nullptr) *columna = v / 32;
        }
    }
    return mejor;
}

} // namespace nivel

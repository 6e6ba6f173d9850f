#include "frame/ajustes.h"
#include "allegro_vz.h"
#include "assets/carga.h"
#include "frame/escala.h"
#include "frame/lugares.h"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <strings.h>

namespace vz {

const Valores AJUSTES_DEFECTO = {
    KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_P, KEY_ENTER, KEY_ESC, KEY_SPACE,
    // Buttons of an Xbox-style pad, which Linux and Windows number alike: A 0, B 1, X 2, Y 3,
    // LB 4, RB 5, Back 6, Start 7. The directions come from the axes, numbered per system.
    SIN_BOTON, SIN_BOTON, SIN_BOTON, SIN_BOTON, 7, 0, 6, 3,
    PAD_SISTEMA.ejes_v, PAD_SISTEMA.ejes_h, 0, 0, 100, 100};
Valores ajustes = AJUSTES_DEFECTO;

namespace {

constexpr int NUM_EJES = MAX_JOYSTICK_STICKS * MAX_JOYSTICK_AXIS; // as the library reads them

const char *const ACCIONES[NUM_ACCIONES] = {"up",    "down",    "left", "right",
                                            "pause", "confirm", "quit", "ranking"};
const char *const QUE_HACE[NUM_ACCIONES] = {
    "lane up; the entry above in the difficulty menu; the next letter of an initial",
    "lane down; the entry below; the letter before",
    "the initial to the left, when entering a new record",
    "the initial to the right, when entering a new record",
    "pause during play, and resume",
    "start a game on the title; choose the difficulty; the initials, on the third one",
    "quit the game from the title, the difficulty menu or play",
    "the ranking tables, from the title picture"};

enum Tipo { T_TECLA, T_BOTON, T_EJES, T_ESCALA, T_SINO, T_VOLUMEN };

Tipo tipo(int i)
{
    if (i < BOTON) return T_TECLA;
    if (i < EJES_V) return T_BOTON;
    if (i <= EJES_H) return T_EJES;
    if (i == ESCALA) return T_ESCALA;
    return i == COMPLETA ? T_SINO : T_VOLUMEN;
}

std::string nombre(int i)
{
    if (i < BOTON) return std::string("key_") + ACCIONES[i];
    if (i < EJES_V) return std::string("pad_") + ACCIONES[i - BOTON];
    const char *const otros[] = {"pad_vertical_axes", "pad_horizontal_axes", "scale",
                                 "fullscreen",        "effects_volume",      "music_volume"};
    return otros[i - EJES_V];
}

const char *const ESPERA[] = {"a key name such as Up, W or F1",
                              "a button number from 0 to 31, or none",
                              "axis numbers from 0 to 14, or none",
                              "1 to 4, or auto",
                              "yes or no",
                              "0 to 100"};

// Keys named apart from letters, digits, F1..F12 and 0_PAD..9_PAD. Modifier keys are left out:
// they never reach the key buffer that the menus read.
const struct {
    const char *nombre;
    int tecla;
} NOMBRES[] = {
    // clang-format off
    {"Esc", KEY_ESC}, {"Escape", KEY_ESC}, {"Tilde", KEY_TILDE}, {"Minus", KEY_MINUS},
    {"Equals", KEY_EQUALS}, {"Backspace", KEY_BACKSPACE}, {"Tab", KEY_TAB},
    {"OpenBrace", KEY_OPENBRACE}, {"CloseBrace", KEY_CLOSEBRACE}, {"Enter", KEY_ENTER},
    {"Return", KEY_ENTER}, {"Colon", KEY_COLON}, {"Quote", KEY_QUOTE},
    {"Backslash", KEY_BACKSLASH}, {"Backslash2", KEY_BACKSLASH2}, {"Comma", KEY_COMMA},
    {"Stop", KEY_STOP}, {"Slash", KEY_SLASH}, {"Space", KEY_SPACE}, {"Insert", KEY_INSERT},
    {"Del", KEY_DEL}, {"Home", KEY_HOME}, {"End", KEY_END}, {"PgUp", KEY_PGUP},
    {"PgDn", KEY_PGDN}, {"Left", KEY_LEFT}, {"Right", KEY_RIGHT}, {"Up", KEY_UP},
    {"Down", KEY_DOWN}, {"Slash_Pad", KEY_SLASH_PAD}, {"Asterisk", KEY_ASTERISK},
    {"Minus_Pad", KEY_MINUS_PAD}, {"Plus_Pad", KEY_PLUS_PAD}, {"Del_Pad", KEY_DEL_PAD},
    {"Enter_Pad", KEY_ENTER_PAD}, {"PrtScr", KEY_PRTSCR}, {"Pause", KEY_PAUSE}};
// clang-format on

std::string nombre_de_tecla(int k)
{
    if (k >= KEY_A && k <= KEY_Z) return std::string(1, static_cast<char>('A' + k - KEY_A));
    if (k >= KEY_0 && k <= KEY_9) return std::string(1, static_cast<char>('0' + k - KEY_0));
    if (k >= KEY_0_PAD && k <= KEY_9_PAD) return std::to_string(k - KEY_0_PAD) + "_Pad";
    if (k >= KEY_F1 && k <= KEY_F12) return std::string("F").append(std::to_string(k - KEY_F1 + 1));
    for (const auto &n : NOMBRES)
        if (n.tecla == k) return n.nombre;
    return std::to_string(k);
}

// Digits only, of a number from lo to hi.
bool numero(const std::string &v, int lo, int hi, int &n)
{
    if (v.empty() || v.size() > 3 || v.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int l = std::atoi(v.c_str());
    if (l < lo || l > hi) return false;
    n = l;
    return true;
}

bool igual(const std::string &a, const char *b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

bool lee_valor(int i, const std::string &v, int &n)
{
    switch (tipo(i)) {
    case T_TECLA:
        return (n = tecla_de_nombre(v)) != 0;
    case T_BOTON:
        n = SIN_BOTON;
        return igual(v, "none") || numero(v, 0, MAX_JOYSTICK_BUTTONS - 1, n);
    case T_EJES: {
        n = 0;
        if (igual(v, "none")) return true;
        std::string lista = v;
        std::replace(lista.begin(), lista.end(), ',', ' ');
        std::istringstream in(lista);
        int eje = 0;
        for (std::string p; in >> p; n |= 1 << eje)
            if (!numero(p, 0, NUM_EJES - 1, eje)) return false;
        return n != 0;
    }
    case T_ESCALA:
        n = 0;
        return igual(v, "auto") || numero(v, 1, ESCALA_MAX, n);
    case T_SINO:
        n = -1;
        for (const char *si : {"yes", "on", "true", "1"})
            if (igual(v, si)) n = 1;
        for (const char *no : {"no", "off", "false", "0"})
            if (igual(v, no)) n = 0;
        return n == 0 || n == 1;
    case T_VOLUMEN:
        return numero(v, 0, 100, n);
    }
    return false;
}

std::string formatea(int i, int n)
{
    switch (tipo(i)) {
    case T_TECLA:
        return nombre_de_tecla(n);
    case T_BOTON:
        return n == SIN_BOTON ? "none" : std::to_string(n);
    case T_EJES: {
        std::string s;
        for (int e = 0; e < NUM_EJES; e++)
            if (n >> e & 1) s.append(s.empty() ? "" : " ").append(std::to_string(e));
        return s.empty() ? "none" : s;
    }
    case T_ESCALA:
        return n == 0 ? "auto" : std::to_string(n);
    case T_SINO:
        return n != 0 ? "yes" : "no";
    case T_VOLUMEN:
        break;
    }
    return std::to_string(n);
}

std::string recorta(const std::string &s)
{
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

} // namespace

int tecla_de_nombre(const std::string &n)
{
    const char c =
        static_cast<char>(std::toupper(static_cast<unsigned char>(n.empty() ? 0 : n[0])));
    if (n.size() == 1 && c >= 'A' && c <= 'Z') return KEY_A + c - 'A';
    if (n.size() == 1 && c >= '0' && c <= '9') return KEY_0 + c - '0';
    if (n.size() == 5 && c >= '0' && c <= '9' && igual(n.substr(1), "_pad"))
        return KEY_0_PAD + c - '0';
    int f = 0;
    if (c == 'F' && numero(n.substr(1), 1, 12, f)) return KEY_F1 + f - 1;
    for (const auto &k : NOMBRES)
        if (igual(n, k.nombre)) return k.tecla;
    return 0;
}

void interpreta_ajustes(const std::string &texto, const std::string &archivo, Valores &valores,
                        std::vector<std::string> &avisos)
{
    const Valores &defecto = AJUSTES_DEFECTO;
    int linea_de[NUM_AJUSTES] = {}; // the line that set each setting; 0: its default
    auto aviso = [&](int linea, const std::string &que) {
        avisos.push_back(archivo + ":" + std::to_string(linea) + ": " + que);
    };
    auto usa_defecto = [&](int i) {
        valores[i] = defecto[i];
        return "; the default " + formatea(i, defecto[i]) + " is used";
    };

    std::istringstream in(texto);
    int linea = 0;
    for (std::string s; std::getline(in, s);) {
        linea++;
        s = recorta(s.substr(0, s.find('#')));
        if (s.empty()) continue;
        const size_t igual_en = s.find('=');
        const std::string n = recorta(s.substr(0, igual_en));
        if (igual_en == std::string::npos || n.empty()) {
            aviso(linea, "not a \"name = value\" line; it is ignored");
            continue;
        }
        const std::string v = recorta(s.substr(igual_en + 1));
        int i = 0;
        while (i < NUM_AJUSTES && !igual(n, nombre(i).c_str()))
            i++;
        if (i == NUM_AJUSTES) {
            aviso(linea, "unknown setting \"" + n + "\"; it is ignored");
        } else if (linea_de[i] != 0) {
            aviso(linea, nombre(i) + " is given again (first on line " +
                             std::to_string(linea_de[i]) + ")" + usa_defecto(i));
            linea_de[i] = -linea; // still taken: a third line is wrong too
        } else if (!lee_valor(i, v, valores[i])) {
            aviso(linea, "bad value \"" + v + "\" for " + nombre(i) + " (" + ESPERA[tipo(i)] + ")" +
                             usa_defecto(i));
            linea_de[i] = -linea;
        } else {
            linea_de[i] = linea;
        }
    }

    // One key or button for two actions: the later line loses. The defaults differ from each
    // other, so each round puts back at least one line's setting and the rounds end.
    for (bool otra = true; otra;) {
        otra = false;
        for (int base : {TECLA, BOTON})
            for (int a = base; a < base + NUM_ACCIONES; a++)
                for (int b = a + 1; b < base + NUM_ACCIONES; b++) {
                    if (valores[a] != valores[b] || valores[a] == SIN_BOTON) continue;
                    const int pierde = linea_de[a] > linea_de[b] ? a : b;
                    const int gana = pierde == a ? b : a;
                    const std::string que = (base == TECLA ? "key " : "button ") +
                                            formatea(a, valores[a]) + " is taken by " +
                                            nombre(gana);
                    const std::string donde = linea_de[gana] > 0
                                                  ? " (line " + std::to_string(linea_de[gana]) + ")"
                                                  : " (its default)";
                    aviso(linea_de[pierde], que + donde + usa_defecto(pierde));
                    linea_de[pierde] = 0;
                    otra = true;
                }
    }
}

std::string texto_ajustes()
{
    const Valores &defecto = AJUSTES_DEFECTO;
    std::string t =
        "# VORK-ZEL 2003 settings: one \"name = value\" a line; '#' starts a comment.\n"
        "# The game only reads this file. A line that is missing, or wrong, leaves its default\n"
        "# (the game says which line on standard error). Command-line options win over it.\n"
        "\n"
        "# Keys, by the library's names: A..Z, 0..9, F1..F12, Up, Down, Left, Right, Enter, Esc,\n"
        "# Space, Tab, Backspace, Insert, Del, Home, End, PgUp, PgDn, 0_Pad..9_Pad, Enter_Pad,\n"
        "# Minus, Equals, Comma, Stop, Slash, ...; any case. One key for one action only.\n";
    for (int i = 0; i < NUM_AJUSTES; i++) {
        if (i == BOTON)
            t += "\n# Gamepad buttons, numbered from 0 as the system counts them, or none. An\n"
                 "# Xbox-style pad: A 0, B 1, X 2, Y 3, LB 4, RB 5, Back 6, Start 7. A\n" +
                 std::string(PAD_SISTEMA.nota_botones);
        if (i == EJES_V)
            t += "\n# Gamepad axes read as directions once pushed past half their travel (an axis\n"
                 "# already past it when the game starts, like a trigger, is ignored). " +
                 std::string(PAD_SISTEMA.nota_ejes);
        if (i == ESCALA) t += "\n";
        const char *nota = i < EJES_V      ? QUE_HACE[i % NUM_ACCIONES]
                           : i == EJES_V   ? "up and down"
                           : i == EJES_H   ? "left and right"
                           : i == ESCALA   ? "window scale: 1 to 4 screen pixels a game pixel, or "
                                             "auto (the largest that fits the desktop)"
                           : i == COMPLETA ? "full screen (yes) or a window (no)"
                           : i == EFECTOS  ? "sound effects, 0 (silent) to 100 (as designed)"
                                           : "music, 0 (silent) to 100 (as designed)";
        t += "# " + std::string(nota) + "\n" + nombre(i) + " = " + formatea(i, defecto[i]) + "\n";
    }
    return t;
}

int vol_musica(int nivel)
{
    return nivel * ajustes[MUSICA] / 100;
}

void atenua_efectos()
{
    if (ajustes[EFECTOS] == 100) return;
    for (SAMPLE *s : sample) {
        if (s == nullptr) continue;
        const long n = static_cast<long>(s->len) * (s->stereo ? 2 : 1);
        // Unsigned samples: silence is the middle of the range.
        for (long k = 0; k < n; k++) {
            if (s->bits == 8) {
                auto &v = static_cast<unsigned char *>(s->data)[k];
                v = static_cast<unsigned char>(128 + (v - 128) * ajustes[EFECTOS] / 100);
            } else {
                auto &v = static_cast<unsigned short *>(s->data)[k];
                v = static_cast<unsigned short>(32768 + (v - 32768) * ajustes[EFECTOS] / 100);
            }
        }
    }
}

std::string ruta_ajustes()
{
    return carpeta_config() + "/vorkzel.cfg";
}

void lee_ajustes()
{
    const std::string ruta = ruta_ajustes();
    if (!existe(ruta)) return;
    std::vector<unsigned char> texto;
    if (!lee_entero(ruta, texto)) {
        std::fprintf(stderr, "vorkzel: cannot read %s; the default settings are used\n",
                     ruta.c_str());
        return;
    }
    std::vector<std::string> avisos;
    interpreta_ajustes(std::string(texto.begin(), texto.end()), ruta, ajustes, avisos);
    for (const auto &a : avisos)
        std::fprintf(stderr, "vorkzel: %s\n", a.c_str());
}

int escribe_ajustes()
{
    const std::string ruta = ruta_ajustes();
    crea_carpetas(carpeta_config());
    // Never over a file that is there, even one made a moment ago.
    std::FILE *f = crea_nuevo(ruta);
    if (f == nullptr) {
        if (errno == EEXIST)
            std::fprintf(stderr, "vorkzel: %s exists already and is left as it is\n", ruta.c_str());
        else
            std::fprintf(stderr, "vorkzel: cannot write %s: %s\n", ruta.c_str(),
                         std::strerror(errno));
        return 1;
    }
    const std::string t = texto_ajustes();
    const bool bien = std::fwrite(t.data(), 1, t.size(), f) == t.size();
    if (std::fclose(f) != 0 || !bien) {
        std::fprintf(stderr, "vorkzel: cannot write %s\n", ruta.c_str());
        borra(ruta);
        return 1;
    }
    std::printf("vorkzel: the default settings are in %s\n", ruta.c_str());
    return 0;
}

} // namespace vz

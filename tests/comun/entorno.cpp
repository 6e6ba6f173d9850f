#include "entorno.h"
#include "assets/carga.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include <algorithm>
#include <cstring>
#include <deque>
#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <stdexcept>
#include <thread>
#include <zlib.h>

namespace prueba {

std::vector<std::string> registro;
std::function<void()> al_esperar, al_ceder;

namespace {

std::deque<int> guion;
const std::thread::id principal = std::this_thread::get_id();

void anota(const char *que, const SAMPLE *s, int vol = -1, int pan = 0, int frec = 0,
           int bucle = 0) {
    static const char *const nombres[] = {"explocio", "camio1", "bolsa",   "grumvel",
                                          "camio2",   "gold",   "camio3",  "",
                                          "",         "",       "gameover"};
    const int i =
        static_cast<int>(std::find(vz::sample, vz::sample + vz::NUM_SAMPLES, s) - vz::sample);
    char t[160];
    std::snprintf(t, sizeof t, vol < 0 ? "%s %s" : "%s %s %d %d %d %d", que,
                  i < vz::NUM_SAMPLES ? nombres[i] : "?", vol, pan, frec, bucle);
    registro.push_back(t);
}

// The film: its distinct screens in RGB, the one on view and the ticks it has stayed.
struct {
    bool rueda = false;
    std::vector<std::string> cuadros;
    std::string crudo; // the screen's bytes and palette as last seen
    int actual = -1, ticks = 0, pasadas = 0, jugados = 0; // jugados: ticks of play not yet told
    size_t linea = 0;
    std::function<void(int, int)> cada_tick;
} peli;

// Scripted keys are only handed out by readkey(): clear_keybuf() drains whatever keypressed()
// reports, and the code under test empties the buffer before every read.
int hook_keypressed() {
    if (al_esperar) al_esperar();
    return 0;
}

int hook_readkey() {
    static const std::map<int, std::string> nombres = {
        {KEY_UP, "arriba"},      {KEY_DOWN, "abajo"},
        {KEY_LEFT, "izquierda"}, {KEY_RIGHT, "derecha"},
        {KEY_ENTER, "enter"},    {KEY_ESC, "esc"},
        {KEY_SPACE, "espacio"},  {KEY_ENTER_PAD, "enter (teclado numerico)"}};
    if (peli.rueda) foto();
    if (guion.empty()) {
        ADD_FAILURE() << "readkey() called with no scripted key left";
        return KEY_ENTER << 8; // end any menu instead of hanging the test
    }
    const int k = guion.front();
    guion.pop_front();
    registro.push_back("tecla " + (nombres.count(k) ? nombres.at(k) : std::to_string(k)));
    return k << 8;
}

class EntornoAllegro : public ::testing::Environment {
  public:
    void SetUp() override {
        // No display and no timer thread: tests drive `tick` themselves.
        ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
        set_color_depth(8);
        install_keyboard_hooks(hook_keypressed, hook_readkey);
        // Silent drivers, so that samples can be played and adjusted.
        ASSERT_EQ(install_sound(DIGI_NONE, MIDI_NONE, nullptr), 0);
    }
};

const auto *entorno = ::testing::AddGlobalTestEnvironment(new EntornoAllegro);

} // namespace

void foto() {
    if (peli.jugados > 0)
        registro.push_back(std::to_string(std::exchange(peli.jugados, 0)) + " ticks of play");
    std::string c(76800 + 768, 0);
    for (int y = 0; y < 240; y++)
        std::memcpy(&c[320 * y], screen->line[y], 320);
    PALETTE pal;
    get_palette(pal);
    for (int i = 0; i < 256; i++)
        std::memcpy(&c[76800 + 3 * i], &pal[i], 3);
    if (peli.actual >= 0 && c == peli.crudo) return;
    peli.crudo = c;
    std::string rgb(3 * 76800, 0);
    for (int k = 0; k < 3 * 76800; k++)
        rgb[k] = static_cast<char>(c[76800 + 3 * static_cast<unsigned char>(c[k / 3]) + k % 3] *
                                   255 / 63);
    auto &cs = peli.cuadros;
    peli.actual = static_cast<int>(std::find(cs.begin(), cs.end(), rgb) - cs.begin());
    if (peli.actual == static_cast<int>(cs.size())) cs.push_back(rgb);
    peli.ticks = 0;
    peli.linea = registro.size();
    registro.push_back("pantalla " + std::to_string(peli.actual));
}

// The library's sound and timing calls, recorded instead of made (there is no sound to hear, and
// with no timer a song "plays" from its start until stopped).
extern "C" {
int play_sample(const SAMPLE *s, int vol, int pan, int frec, int bucle) {
    anota("toca", s, vol, pan, frec, bucle);
    return -1;
}
void adjust_sample(const SAMPLE *s, int vol, int pan, int frec, int bucle) {
    anota("ajusta", s, vol, pan, frec, bucle);
}
void stop_sample(const SAMPLE *s) {
    anota("para", s);
}
void set_volume(int, int midi) {
    registro.push_back("volumen midi " + std::to_string(midi));
}
int play_midi(MIDI *m, int bucle) {
    registro.push_back(std::string("midi ") + (m == vz::music2 ? "titulo " : "tema ") +
                       std::to_string(bucle));
    midi_pos = m != nullptr ? 0 : -1;
    return 0;
}
void stop_midi() {
    registro.push_back("para midi");
    midi_pos = -1;
}
void vsync() {}
int nanosleep(const timespec *t, timespec *resto) {
    if (!al_ceder || std::this_thread::get_id() != principal)
        return reinterpret_cast<int (*)(const timespec *, timespec *)>(
            dlsym(RTLD_NEXT, "nanosleep"))(t, resto); // the library's own
    al_ceder();
    return 0;
}
}

void rueda(std::function<void(int, int)> cada_tick) {
    registro.clear();
    peli = {true, {}, {}, -1, 0, 0, 0, 0, std::move(cada_tick)};
    al_ceder = [] {
        // Fifty thousand ticks are eleven minutes of the game, far longer than any scene.
        if (++peli.pasadas > 50000) throw std::runtime_error("the scene never ends");
        vz::tick++;
        if (vz::active_page == vz::pvirtual) { // play, a new picture every tick: only counted
            peli.jugados++;
            return;
        }
        foto();
        registro[peli.linea] = "pantalla " + std::to_string(peli.actual) + ", " +
                               std::to_string(++peli.ticks) + " ticks";
        if (peli.cada_tick) peli.cada_tick(peli.actual, peli.ticks);
    };
}

void compara(const std::string &nombre) {
    al_ceder = nullptr;
    peli.rueda = false;
    std::string ppm = "P6\n320 " + std::to_string(240 * peli.cuadros.size()) + "\n255\n", texto,
                golden;
    for (const auto &c : peli.cuadros)
        ppm += c;
    for (const auto &l : registro)
        texto += l + "\n";
    const std::string ruta = VZ_FUENTES_DIR "/tests/assets/golden/" + nombre,
                      nueva = ::testing::TempDir() + nombre;
    auto guarda = [&](const std::string &r) {
        gzFile f = gzopen((r + ".ppm.gz").c_str(), "wb9");
        gzwrite(f, ppm.data(), static_cast<unsigned>(ppm.size()));
        gzclose(f);
        std::ofstream(r + ".txt") << texto;
    };
    if (std::getenv("VZ_NUEVO_GOLDEN") != nullptr) return guarda(ruta);
    if (gzFile f = gzopen((ruta + ".ppm.gz").c_str(), "rb")) {
        char buf[65536];
        for (int k; (k = gzread(f, buf, sizeof buf)) > 0;)
            golden.append(buf, k);
        gzclose(f);
    }
    std::ifstream in(ruta + ".txt");
    const std::string esperado((std::istreambuf_iterator<char>(in)), {});
    if (golden != ppm || esperado != texto) guarda(nueva);
    EXPECT_TRUE(golden == ppm) << "the film differs from " << ruta << ".ppm.gz: see " << nueva
                               << ".ppm.gz";
    EXPECT_EQ(texto, esperado);
}

void guion_teclas(std::initializer_list<int> scancodes) {
    guion.assign(scancodes.begin(), scancodes.end());
}

void pon(unsigned char *p, uint32_t puntos, const char *iniciales) {
    for (int i = 0; i < 4; i++)
        p[i] = static_cast<unsigned char>(puntos >> (8 * i));
    std::copy_n(iniciales, 3, p + 4);
}

std::vector<unsigned char> ranking_base() {
    std::vector<unsigned char> b(240);
    for (int k = 0; k < 30; k++) {
        const char iniciales[] = {static_cast<char>('A' + k / 10), static_cast<char>('0' + k % 10),
                                  'Z'};
        pon(&b[8 * k], 1000u * (10 - k % 10) + 100u * (k / 10), iniciales);
        b[8 * k + 7] = static_cast<unsigned char>(0xA0 + k);
    }
    return b;
}

} // namespace prueba

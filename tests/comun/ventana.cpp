#include "pantalla.h"
#include "allegro_vz.h"
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace prueba {

std::string pantalla_xvfb = "640x480x24";

namespace {

void mata(pid_t &pid, int senal = SIGTERM) {
    if (pid <= 0) return;
    kill(pid, senal);
    if (!espera_que(2, [&] { return waitpid(pid, nullptr, WNOHANG) == pid; })) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    pid = -1;
}

FONT *fuente = nullptr;
PALETTE paleta;
BITMAP *hoja = nullptr; // the sprite sheet: the score panel is at y 520

// Fraction of rows y0..239 of `c` that show what `dibuja` draws on a black page in palette `pal`.
template <class F>
double parecido(const Captura &c, F dibuja, const RGB *pal = paleta, int y0 = 0) {
    if (hoja == nullptr) {
        if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 0.0;
        set_color_depth(8);
        const DATAFILE *datos = load_datafile(VZ_RUN_DIR "/datos/font.dat");
        hoja = load_bitmap(VZ_RUN_DIR "/datos/imagen.bmp", paleta);
        if (datos == nullptr || hoja == nullptr) return 0.0;
        fuente = static_cast<FONT *>(datos[1].dat);
    }
    if (c.w != 320 || c.h != 240) return 0.0;
    BITMAP *b = create_bitmap(320, 240);
    clear_to_color(b, 0);
    dibuja(b);
    int iguales = 0;
    for (int y = y0; y < 240; y++)
        for (int x = 0; x < 320; x++) {
            // The X11 driver scales the 6-bit palette to 8 bits per channel.
            const RGB &p = pal[getpixel(b, x, y)];
            const unsigned q = c.pixel(x, y);
            iguales += std::abs(int(q >> 16) - p.r * 255 / 63) <= 6 &&
                       std::abs(int(q >> 8 & 255) - p.g * 255 / 63) <= 6 &&
                       std::abs(int(q & 255) - p.b * 255 / 63) <= 6;
        }
    destroy_bitmap(b);
    return iguales / (320.0 * (240 - y0));
}

} // namespace

nivel::Nivel nivel_corto() {
    nivel::Nivel n;
    n.velocidad = 3;
    for (int r = 0; r < nivel::FILAS; r++)
        for (int c = 0; c < nivel::COLUMNAS; c++)
            n.mapa[r][c] = static_cast<uint8_t>(r < 4 ? r * 2 + c % 2 : 30 + r);
    return n;
}

void pon_nivel(const std::string &dir, const nivel::Nivel &n) {
    fs::remove_all(dir + "/levels");
    fs::create_directories(dir + "/levels");
    escribe(dir + "/levels/01.map", nivel::a_binario(n));
}

Juego::Juego() {
    char plantilla[] = "/tmp/vorkzel-prueba-XXXXXX";
    if (mkdtemp(plantilla) == nullptr) throw std::runtime_error("mkdtemp");
    dir_ = plantilla;
    for (const char *sub : {"datos", "levels", "midi", "mp3"})
        fs::copy(fs::path(VZ_RUN_DIR) / sub, dir_ + "/" + sub, fs::copy_options::recursive);
    // Each harness takes a display number of its own under a lock that it holds until its server
    // is gone: servers left to pick one themselves (-displayfd) could both take over the stale lock
    // of a server killed a moment before and share one number. -displayfd still says when the
    // server is ready.
    for (int n = 100; n < 400 && display_.empty(); n++) {
        const int cerrojo = open(("/tmp/vorkzel-x" + std::to_string(n) + ".lock").c_str(),
                                 O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (cerrojo < 0 || flock(cerrojo, LOCK_EX | LOCK_NB) != 0) {
            if (cerrojo >= 0) close(cerrojo);
            continue;
        }
        int tubo[2];
        if (pipe(tubo) != 0) throw std::runtime_error("pipe");
        if ((xvfb_ = fork()) == 0) {
            const int nul = open("/dev/null", O_WRONLY);
            dup2(nul, 1);
            dup2(nul, 2);
            close(cerrojo);
            execlp("Xvfb", "Xvfb", (":" + std::to_string(n)).c_str(), "-displayfd",
                   std::to_string(tubo[1]).c_str(), "-screen", "0", pantalla_xvfb.c_str(),
                   "-nolisten", "tcp", static_cast<char *>(nullptr));
            _exit(127);
        }
        close(tubo[1]);
        std::string listo;
        for (char c; read(tubo[0], &c, 1) == 1 && c != '\n';)
            listo += c;
        close(tubo[0]);
        display_ = ":" + std::to_string(n);
        // Key auto-repeat off, as tests hold keys for seconds; xset also proves the display opens.
        if (listo != std::to_string(n) ||
            !espera_que(5, [&] { return en_x("xset r off && echo y") == "y\n"; })) {
            display_.clear();
            mata(xvfb_, SIGKILL);
            close(cerrojo);
        } else {
            cerrojo_x_ = cerrojo;
        }
    }
    if (display_.empty()) throw std::runtime_error("Xvfb did not start");
}

Juego::~Juego() {
    mata(juego_);
    if (x_ != nullptr) XCloseDisplay(x_);
    // An Xvfb left to shut down unlinks its socket late, when a server started meanwhile by a
    // parallel test may already have the same display number and socket path. Killed outright,
    // it leaves a stale lock that the next server takes over instead.
    mata(xvfb_, SIGKILL);
    if (cerrojo_x_ >= 0) close(cerrojo_x_); // the number is free once the server is reaped
    std::error_code ec;
    if (std::getenv("VZ_CONSERVA") == nullptr) fs::remove_all(dir_, ec);
}

void Juego::arranca(const std::vector<std::string> &args,
                    const std::map<std::string, std::string> &env) {
    argumentos_ = args;
    entorno_ = env;
    if ((juego_ = fork()) != 0) return;
    if (chdir((carpeta.empty() ? dir_ : carpeta).c_str()) != 0) _exit(126);
    dup2(open((dir_ + "/salida.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open((dir_ + "/error.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1); // no player's settings file
    for (int s : {SIGINT, SIGQUIT}) // as from a terminal, even under a shell's background job
        signal(s, SIG_DFL);
    for (const auto &[k, v] : env)
        setenv(k.c_str(), v.c_str(), 1);
    const std::string binario = programa.empty() ? std::string(VZ_RUN_DIR) + "/vorkzel" : programa;
    std::vector<char *> argv = {const_cast<char *>(binario.c_str())};
    for (const auto &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    execv(binario.c_str(), argv.data());
    _exit(127);
}

bool Juego::espera_ventana(double segundos) {
    auto busca = [&] {
        return espera_que(segundos, [&] {
            ventana_ =
                std::strtoul(en_x("xdotool search --name '^VORK-ZEL 2003$'").c_str(), nullptr, 10);
            return ventana_ != 0 || !vivo();
        });
    };
    // Under a heavily loaded parallel run the game has, rarely, been refused a connection to a
    // server that the harness itself could reach. That is the machine, not the game: say so in
    // the test's output and start the game once more. Under Wine the refusal shows as the
    // library failing to make its window.
    const std::string error = busca() && ventana_ == 0 && estado_ == 1 ? salida_error() : "";
    if (entorno_.count("DISPLAY") == 0 && (error.find("no display") != std::string::npos ||
                                           error.find("could not start") != std::string::npos)) {
        std::fprintf(stderr, "harness: the game could not open %s (%s); starting it again\n",
                     display_.c_str(), salida_error().c_str());
        arranca(argumentos_, entorno_);
        busca();
    }
    if (ventana_ == 0) return false;
    // No window manager under Xvfb: focus it ourselves so that keys reach it.
    en_x("xdotool windowfocus --sync " + std::to_string(ventana_));
    return true;
}

Captura Juego::foto() const {
    // A window that is gone answers with an error: an empty picture, not the end of the test.
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    if (x_ == nullptr) x_ = XOpenDisplay(display_.c_str());
    // Under Wine the named window holds Wine's own frame, and the game's picture is its child.
    Window w = ventana_, raiz, padre, *hijos = nullptr;
    unsigned n = 0;
    if (x_ != nullptr && XQueryTree(x_, ventana_, &raiz, &padre, &hijos, &n) != 0 && n > 0)
        w = hijos[0];
    if (hijos != nullptr) XFree(hijos);
    XWindowAttributes a;
    XImage *im = x_ != nullptr && XGetWindowAttributes(x_, w, &a) != 0
                     ? XGetImage(x_, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap)
                     : nullptr;
    if (im == nullptr) return {};
    // One pixel of each square of the enlarged window; 8 bits a channel on the 24-bit screen.
    Captura c{a.width / escala, a.height / escala, {}};
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++)
            for (unsigned long p = XGetPixel(im, x * escala, y * escala), b = 0; b < 3; b++)
                c.rgb.push_back(static_cast<unsigned char>(p >> (16 - 8 * b)));
    XDestroyImage(im);
    return c;
}

int Juego::espera_fin(double segundos) {
    return espera_que(segundos, [&] { return !vivo(); }) ? estado_ : -1;
}

void Juego::cierra_ventana() {
    Display *d = XOpenDisplay(display_.c_str());
    if (d == nullptr) return;
    XEvent ev{};
    // Type, serial, send_event, display, window, message type, format; the time is CurrentTime (0).
    ev.xclient = {
        ClientMessage, 0, False, d, ventana_, XInternAtom(d, "WM_PROTOCOLS", False), 32, {}};
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    XSendEvent(d, ventana_, False, NoEventMask, &ev);
    XCloseDisplay(d);
}

bool muestra_puntos(const Captura &c, uint32_t puntos, int vidas) {
    auto panel = [&](BITMAP *b) {
        blit(hoja, b, 0, 520, 0, 192, 320, 48);
        textprintf_centre_ex(b, fuente, 160, 206, -1, -1, "PUNTOS:%5d VIDAS:%2d",
                             static_cast<int>(puntos), vidas);
    };
    return parecido(c, panel, paleta, 192) == 1.0;
}

double parecido_a(const Captura &c, const std::string &nombre) {
    PALETTE pal;
    BITMAP *foto = nullptr;
    auto carga = [&](BITMAP *b) {
        foto = load_bitmap((VZ_RUN_DIR "/datos/" + nombre).c_str(), pal);
        if (foto != nullptr) blit(foto, b, 0, 0, 0, 0, 320, 240);
    };
    const double p = parecido(c, carga, pal);
    destroy_bitmap(foto);
    return foto == nullptr ? 0.0 : p;
}

bool muestra_textos(const Captura &c, const std::vector<Texto> &lineas) {
    auto textos = [&](BITMAP *b) {
        for (const auto &[y, color, texto] : lineas)
            textprintf_centre_ex(b, fuente, 160, y, color, -1, "%s", texto.c_str());
    };
    return parecido(c, textos) == 1.0;
}

bool hasta_titulo(Juego &j) {
    if (!j.espera_ventana()) return false;
    // The opening picture, once faded in: any key cuts it short.
    if (!espera_que(30, [&] { return parecido_a(j.foto(), "tavisk.bmp") > 0.95; })) return false;
    j.tecla("x");
    return espera_que(30, [&] { return parecido_a(j.foto(), "vorkzel.bmp") > 0.9; });
}

bool hasta_menu(Juego &j) {
    if (!hasta_titulo(j)) return false;
    // Enter counts when it is held at the end of a title pass; held for longer than the
    // library's key-repeat delay (250 ms) it would also confirm the difficulty menu.
    j.tecla("Return", 150);
    const std::vector<Texto> menu = {{20, -1, "SELECIONA LA DIFICULTAD"},
                                     {80, 255, "VOY DE PASEO"},
                                     {120, -1, "QUIERO JUGAR"},
                                     {160, 255, "SOY JODIDO"}};
    return espera_que(10, [&] { return muestra_textos(j.foto(), menu); });
}

bool hasta_jugar(Juego &j, int dificultad) {
    if (!hasta_menu(j)) return false;
    if (dificultad != 1) j.tecla(dificultad == 2 ? "Down" : "Up");
    j.tecla("Return");
    // Generous: the first song's instruments load here, slowly on a busy machine.
    return espera_que(30, [&] { return muestra_puntos(j.foto(), 0, 6 - dificultad); });
}

} // namespace prueba

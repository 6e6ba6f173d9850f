// Processor use of the real game while a level is played in a window under Xvfb: the game's
// user + system time over a stretch of play, as a share of one core. A measurement, not a test.
// Usage: vz_cpu [seconds of play, default 20] [game options, e.g. -tbuf or -3]
#include "pantalla.h"
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace prueba;

namespace {

// utime + stime of a process, in clock ticks.
long tiempo_cpu(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string linea;
    std::getline(in, linea);
    // Fields after the command name, which is in parentheses and may hold spaces.
    std::istringstream resto(linea.substr(linea.rfind(')') + 2));
    std::string campo;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && resto >> campo; i++) {
        if (i == 14) utime = std::stol(campo);
        if (i == 15) stime = std::stol(campo);
    }
    return utime + stime;
}

} // namespace

int main(int argc, char **argv)
{
    const double segundos = argc > 1 ? std::stod(argv[1]) : 20.0;
    std::vector<std::string> opciones(argv + std::min(argc, 2), argv + argc);
    int escala = 1; // an enlarged window needs a desktop-sized screen
    for (const auto &o : opciones)
        if (o == "-2" || o == "-3" || o == "-4") escala = o[1] - '0', pantalla_xvfb = "1920x1080x24";
    Juego j;
    j.escala = escala;
    j.arranca(opciones);
    if (!hasta_jugar(j, 1)) {
        std::fprintf(stderr, "the game did not reach play: %s\n", j.salida_error().c_str());
        return 1;
    }
    const double hz = static_cast<double>(sysconf(_SC_CLK_TCK));
    const long antes = tiempo_cpu(j.pid());
    const double t0 = ahora();
    // Steer now and then, as a player does.
    const char *teclas[] = {"Up", "Down", "Down", "Up"};
    for (int i = 0; ahora() - t0 < segundos; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        j.tecla(teclas[i % 4]);
    }
    const double t = ahora() - t0;
    const long despues = tiempo_cpu(j.pid());
    std::printf("game process: %.2f s of processor in %.1f s of play = %.1f%% of one core\n",
                (despues - antes) / hz, t, 100.0 * (despues - antes) / hz / t);
    return j.vivo() ? 0 : 1;
}

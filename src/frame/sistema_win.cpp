#include "frame/sistema.h"
#include "allegro_vz.h"
#include "frame/ancho_win.h"
#include "frame/escala.h"
#include <cstdio>
#include <winalleg.h> // windows.h, whose BITMAP the library's would clash with

namespace vz {

const char *const SIN_SISTEMA = "the library could not start";

void prepara_consola()
{
    // The C library buffers standard error in full when it is a file or a pipe, and a message
    // written before a message box would only come out once the box is closed.
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    // A Windows program with a window has no console of its own: started from one, it writes
    // there (--help, --version, the settings file's complaints); from the desktop, nowhere.
    if (GetStdHandle(STD_ERROR_HANDLE) != nullptr || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
}

void instala_sonido()
{
    // The first DirectX sound device with any MIDI output (the Windows synthesiser); then without
    // MIDI (the MP3 music still plays, the title tune is silent); then whatever the library finds,
    // with MIDI and without; then silence on the null drivers, which keep every sound call valid.
    const struct {
        int digi, midi;
    } INTENTOS[] = {{DIGI_DIRECTX(0), MIDI_AUTODETECT},
                    {DIGI_DIRECTX(0), MIDI_NONE},
                    {DIGI_AUTODETECT, MIDI_AUTODETECT},
                    {DIGI_AUTODETECT, MIDI_NONE},
                    {DIGI_NONE, MIDI_NONE}};
    for (const auto &i : INTENTOS)
        if (install_sound(i.digi, i.midi, "a") == 0) return;
}

void avisa_jugador(const std::string &texto)
{
    // A program with a window has nowhere to write for its player: a message box, once the game's
    // window (maybe full screen, which would hide the box) is closed.
    termina_escala();
    if (system_driver != nullptr) set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    MessageBoxW(nullptr, ancho(texto).c_str(), L"VORK-ZEL 2003", MB_OK | MB_ICONERROR);
}

} // namespace vz

#include "frame/sistema.h"
#include "allegro_vz.h"
#include "frame/lugares.h"
#include <cstdio>
#include <cstring>

namespace vz {

const char *const SIN_SISTEMA = "no display to open a window on (is DISPLAY set?)";

// A terminal or the desktop's log already has standard output and error.
void prepara_consola() {}

namespace {

// The build rewrites the system's freepats list in the layout the library reads (full paths,
// instruments numbered from 1, drums as a multipatch); the system list itself loads no patch.
const char *const PATCHES = "datos/patches.cfg";

// The software MIDI synthesiser needs a patch set; use ours when nothing else is configured.
void configura_patches()
{
    const char *actual = get_config_string("sound", "patches", nullptr);
    if ((actual == nullptr || *actual == '\0') && existe(PATCHES)) {
        static char config[600];
        std::snprintf(config, sizeof config, "[sound]\npatches = %s\n", PATCHES);
        override_config_data(config, std::strlen(config));
    }
}

} // namespace

void instala_sonido()
{
    configura_patches();
    // No sound device: the game runs silent on the null drivers, which keep every sound call valid.
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
        install_sound(DIGI_NONE, MIDI_NONE, nullptr);
}

// Standard error is where a Linux program's player looks.
void avisa_jugador(const std::string &) {}

} // namespace vz

// Any bytes as a song, opened, started and polled to its end with the game's block refills. With no
// sound device the layer decodes against its clock: at 1000 times the speed a long song is quick.
#include "music/mp3.h"
#include <cstdlib>

void escribe(const char *ruta, const uint8_t *datos, size_t n); // comun.cpp

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t n) {
    escribe("mp3/f.mp3", datos, n);
    vz::mp3_file *f = vz::open_mp3_file("mp3/f.mp3");
    if (f == nullptr) return 0;
    vz::play_mp3_file(f, vz::BUFFER_MP3, 255, 128);
    almp3_adjust_mp3stream(f->stream, 255, 128, 1000000);
    // Far more turns than any input this size can need; a song that never ends is a fault.
    for (int turno = 0; vz::poll_mp3_file(f) == 0; turno++)
        if (turno > 1000000) std::abort();
    vz::close_mp3_file(f);
    return 0;
}

#include "almp3_falso.h"
#include "entorno.h"
#include "music/almp3.h"

// Songs never ask for more data and never end.
struct ALMP3_MP3STREAM {};

namespace falso {

std::vector<Llamada> llamadas;
bool rechaza = false;

void reinicia() {
    llamadas.clear();
    rechaza = false;
}

int cuenta(const std::string &que) {
    int n = 0;
    for (const auto &l : llamadas)
        n += l.que == que;
    return n;
}

} // namespace falso

using falso::llamadas;

ALMP3_MP3STREAM *almp3_create_mp3stream(void *, int len, int last) {
    llamadas.push_back({"create", len, last});
    if (falso::rechaza) return nullptr;
    return new ALMP3_MP3STREAM;
}
int almp3_play_mp3stream(ALMP3_MP3STREAM *, int len, int vol, int pan) {
    llamadas.push_back({"play", vol, pan});
    prueba::registro.push_back("mp3 toca " + std::to_string(vol) + " " + std::to_string(pan));
    return len == 65536 ? 0 : -1;
}
void *almp3_get_mp3stream_buffer(ALMP3_MP3STREAM *) {
    return nullptr;
}
void almp3_free_mp3stream_buffer(ALMP3_MP3STREAM *, int) {}
int almp3_poll_mp3stream(ALMP3_MP3STREAM *) {
    return 0;
}
void almp3_adjust_mp3stream(ALMP3_MP3STREAM *, int vol, int pan, int /*speed*/) {
    prueba::registro.push_back("mp3 ajusta " + std::to_string(vol) + " " + std::to_string(pan));
}
void almp3_stop_mp3stream(ALMP3_MP3STREAM *) {
    prueba::registro.push_back("mp3 para");
}
void almp3_destroy_mp3stream(ALMP3_MP3STREAM *s) {
    delete s;
}

// A recording stand-in for the MP3 stream layer: what the music code asked of it.
#pragma once
#include <string>
#include <vector>

namespace falso {

struct Llamada {
    std::string que;  // "create" or "play"
    int a = 0, b = 0; // create: bytes, last flag; play: volume, pan
};

extern std::vector<Llamada> llamadas;
extern bool rechaza; // create refuses every block
void reinicia();
int cuenta(const std::string &que);

} // namespace falso

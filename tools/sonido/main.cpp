// Builds the game's sound data from the text sources in data/sonido:
//   vz_sonido effects EFFECTS.txt OUTDIR       every effect as OUTDIR/NAME.wav
//   vz_sonido song SONG.txt OUT.mid [TRACK]    one song, or just its part TRACK (for listening)
//   vz_sonido patches SYSTEM.cfg OUT.cfg       a patch list that Allegro's synthesiser can load
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "effects.h"
#include "patches.h"
#include "song.h"
#include "wav.h"

namespace {

constexpr int kRate = 22050;

std::ifstream open(const std::string &path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    return in;
}

int usage() {
    std::fprintf(stderr, "usage: vz_sonido effects EFFECTS.txt OUTDIR\n"
                         "       vz_sonido song SONG.txt OUT.mid [TRACK]\n"
                         "       vz_sonido patches SYSTEM.cfg OUT.cfg\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 4) return usage();
    std::string mode = argv[1];
    try {
        if (mode == "effects" && argc == 4) {
            auto in = open(argv[2]);
            for (const sonido::Effect &e : sonido::parse_effects(in, argv[2])) {
                std::string path = std::string(argv[3]) + "/" + e.name + ".wav";
                sonido::write_file(path, sonido::wav_bytes(sonido::render(e, kRate), kRate));
            }
        } else if (mode == "song" && (argc == 4 || argc == 5)) {
            auto in = open(argv[2]);
            sonido::Song song = sonido::parse_song(in, argv[2]);
            sonido::write_file(argv[3], sonido::smf_bytes(song, argc == 5 ? argv[4] : ""));
        } else if (mode == "patches" && argc == 4) {
            auto in = open(argv[2]);
            std::string list = sonido::allegro_patch_list(in, argv[2]);
            sonido::write_file(argv[3], std::vector<std::uint8_t>(list.begin(), list.end()));
        } else {
            return usage();
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vz_sonido: %s\n", e.what());
        return 1;
    }
    return 0;
}

// arte: builds datos/imagen.bmp (the sprite sheet with the game palette) and datos/font.dat
// (the game font) from the sources in data/arte.
//
//   arte DATA_DIR OUT_DIR WORK_DIR DAT_TOOL
//
// WORK_DIR receives the font picture that Allegro's dat tool grabs the font from.

#include "art.h"
#include "font.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

void run(const std::vector<std::string> &args) {
    std::vector<char *> argv;
    for (const auto &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("cannot start " + args[0]);
    if (pid == 0) {
        // dat chats on stdout; keep the build log quiet.
        std::freopen("/dev/null", "w", stdout);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(args[0] + " failed");
}

// Object 0 is a short note (the game reads the font from object 1), object 1 the font.
// No compression and no properties, so the bytes depend on the glyphs alone.
void build_font(const fs::path &data, const fs::path &out, const fs::path &work,
                const std::string &dat, const arte::Palette &pal) {
    const fs::path note = work / "nota.txt", picture = work / "font.bmp", target = out / "font.dat";
    std::ofstream(note) << "VORK-ZEL 2003 font: 13 x 16 cells, characters 32-126\n";
    arte::save_bmp(picture.string(),
                   arte::font_sheet(arte::load_glyphs((data / "font.txt").string()), pal), pal);
    fs::remove(target);
    const std::vector<std::string> common = {dat,    "-c0", "-s2",          "-n0",
                                             "-bpp", "8",   target.string()};
    auto with = [&](std::vector<std::string> extra) {
        auto a = common;
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    };
    run(with({"-t", "DATA", "-a", note.string()}));
    run(with({"-t", "FONT", "-a", picture.string()}));
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: arte DATA_DIR OUT_DIR WORK_DIR DAT_TOOL\n");
        return 2;
    }
    try {
        const fs::path data = argv[1], out = argv[2], work = argv[3];
        fs::create_directories(out);
        fs::create_directories(work);
        const arte::Palette pal = arte::load_palette((data / "palette.txt").string());
        arte::save_bmp((out / "imagen.bmp").string(), arte::make_sheet(pal), pal);
        build_font(data, out, work, argv[4], pal);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "arte: %s\n", e.what());
        // No half-made outputs that a later build would take for finished ones.
        std::error_code ignored;
        fs::remove(fs::path(argv[2]) / "imagen.bmp", ignored);
        fs::remove(fs::path(argv[2]) / "font.dat", ignored);
        return 1;
    }
    return 0;
}

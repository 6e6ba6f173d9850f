// Paints the studio splash, the title and the victory pictures into <out dir>.
//   fotos <letter source> <out dir>
#include "pictures.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fotos <letter source> <out dir>\n");
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        if (!in) {
            std::fprintf(stderr, "fotos: cannot read %s\n", argv[1]);
            return 1;
        }
        std::stringstream text;
        text << in.rdbuf();
        fotos::Letters letters;
        std::string err;
        if (!letters.parse(text.str(), err)) {
            std::fprintf(stderr, "%s: %s\n", argv[1], err.c_str());
            return 1;
        }
        // Paint all three before writing any, so a failure leaves no half-made set.
        const fotos::Picture studio = fotos::studio_picture(letters);
        const fotos::Picture title = fotos::title_picture(letters);
        const fotos::Picture victory = fotos::victory_picture(letters);
        const std::string dir = argv[2];
        fotos::write_bmp(dir + "/tavisk.bmp", studio);
        fotos::write_bmp(dir + "/vorkzel.bmp", title);
        fotos::write_bmp(dir + "/gane.bmp", victory);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "fotos: %s\n", e.what());
        return 1;
    }
    return 0;
}

// Shared by the fuzz targets, which all start in a scratch directory holding datos/, levels/ and
// mp3/, with the game's pictures and sounds made by the headless start-up.
#include "game/sin_pantalla.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    char plantilla[] = "/tmp/vz-fuzz-XXXXXX";
    if (mkdtemp(plantilla) == nullptr || chdir(plantilla) != 0) std::abort();
    for (const char *d : {"datos", "levels", "mp3"})
        std::filesystem::create_directory(d);
    // The directory goes when the process ends normally; a crash leaves it for a look.
    static std::string carpeta = plantilla;
    std::atexit([] { std::filesystem::remove_all(carpeta); });
    if (!vz::prepara_sin_pantalla()) std::abort();
    return 0;
}

void escribe(const char *ruta, const uint8_t *datos, size_t n) {
    FILE *f = std::fopen(ruta, "wb");
    if (f == nullptr || (n > 0 && std::fwrite(datos, 1, n, f) != n)) std::abort();
    std::fclose(f);
}

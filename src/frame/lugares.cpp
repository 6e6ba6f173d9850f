#include "frame/lugares.h"

namespace vz {

bool lee_entero(const std::string &ruta, std::vector<unsigned char> &datos)
{
    datos.clear();
    std::FILE *f = abre(ruta, "rb");
    if (f == nullptr) return false;
    unsigned char bloque[65536];
    for (size_t n; (n = std::fread(bloque, 1, sizeof bloque, f)) > 0;)
        datos.insert(datos.end(), bloque, bloque + n);
    const bool bien = std::ferror(f) == 0;
    std::fclose(f);
    return bien;
}

} // namespace vz

#include "niveles_prueba.h"
#include "pantalla.h"
#include <filesystem>

namespace prueba {

nivel::Nivel nivel_corto()
{
    nivel::Nivel n;
    n.velocidad = 3;
    for (int r = 0; r < nivel::FILAS; r++)
        for (int c = 0; c < nivel::COLUMNAS; c++)
            n.mapa[r][c] = static_cast<uint8_t>(r < 4 ? r * 2 + c % 2 : 30 + r);
    return n;
}

void pon_niveles(const std::string &dir, std::initializer_list<nivel::Nivel> niveles)
{
    std::filesystem::remove_all(dir + "/levels");
    std::filesystem::create_directories(dir + "/levels");
    int i = 0;
    for (const auto &n : niveles)
        escribe(dir + "/levels/0" + std::to_string(++i) + ".map", nivel::a_binario(n));
}

} // namespace prueba

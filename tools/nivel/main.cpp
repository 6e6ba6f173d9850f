// Level tool: compiles a readable level text into a .map file, and turns a .map back into text.
//   nivel compila <in.txt> <out.map>
//   nivel texto <in.map> [out.txt]
#include "formato.h"
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace {

bool lee(const std::string &ruta, std::string &contenido)
{
    std::ifstream in(ruta, std::ios::binary);
    if (!in) return false;
    contenido.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

int uso()
{
    std::cerr << "usage: nivel compila <in.txt> <out.map>\n"
                 "       nivel texto <in.map> [out.txt]\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) return uso();
    const std::string orden = argv[1], entrada = argv[2];
    std::string contenido, error;
    if (!lee(entrada, contenido)) {
        std::cerr << entrada << ": cannot read\n";
        return 1;
    }
    nivel::Nivel n;
    if (orden == "compila" && argc == 4) {
        if (!nivel::lee_texto(contenido, entrada, n, error)) {
            std::cerr << error << '\n';
            return 1;
        }
        const auto bytes = nivel::a_binario(n);
        std::ofstream out(argv[3], std::ios::binary);
        out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << argv[3] << ": cannot write\n";
            return 1;
        }
        return 0;
    }
    if (orden == "texto" && (argc == 3 || argc == 4)) {
        if (!nivel::de_binario(std::vector<uint8_t>(contenido.begin(), contenido.end()), n, error)) {
            std::cerr << entrada << ": " << error << '\n';
            return 1;
        }
        const std::string texto = nivel::escribe_texto(n);
        if (argc == 3) {
            std::cout << texto;
            return 0;
        }
        std::ofstream out(argv[3], std::ios::binary);
        out << texto;
        return out ? 0 : 1;
    }
    return uso();
}

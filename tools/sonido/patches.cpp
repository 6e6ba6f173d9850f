#include "patches.h"

#include <cctype>
#include <istream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace sonido {

std::string allegro_patch_list(std::istream &in, const std::string &file) {
    std::map<int, std::string> tones, drums;
    std::map<int, std::string> *into = nullptr;
    bool in_set = false;
    std::string dir, text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        std::istringstream words(text.substr(0, text.find('#')));
        std::string first, name;
        if (!(words >> first)) continue;
        if (first == "dir") {
            words >> dir;
        } else if (first == "bank" || first == "drumset") {
            int number = -1;
            words >> number;
            in_set = true;
            // Other banks and kits are variations the game's tunes never select.
            into = number != 0 ? nullptr : first == "bank" ? &tones : &drums;
        } else if (std::isdigit(static_cast<unsigned char>(first[0])) && (words >> name)) {
            if (!in_set)
                throw std::runtime_error(file + ":" + std::to_string(line) +
                                         ": a patch outside any bank");
            int number = std::stoi(first);
            if (!into || number < 0 || number > 127) continue;
            if (name[0] != '/' && !dir.empty()) name = dir + "/" + name;
            (*into)[number] = name;
        }
    }
    std::ostringstream out;
    out << "# Written by vz_sonido from " << file << "\n";
    for (const auto &[program, name] : tones)
        out << program + 1 << " " << name << "\n";
    out << "129 begin_multipatch\n";
    for (const auto &[key, name] : drums)
        out << key << " " << name << "\n";
    out << "end_multipatch\n";
    return out.str();
}

} // namespace sonido

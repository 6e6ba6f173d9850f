#include "font.h"

#include <fstream>
#include <stdexcept>

namespace arte {

namespace {

constexpr int kBaseline = 14; // last ink row of capitals in the box
constexpr int kPerRow = 16;   // glyphs per row of the font picture

// Ink colour of each box row: white tops running into gold, all bright, no dark edge.
int ink_for_row(int row, const Palette &pal) {
    static const int gold_level[kGlyphH] = {15, 15, 15, 14, 13, 13, 12, 12,
                                            12, 11, 11, 11, 10, 10, 9,  9};
    if (row <= 1) return pal.ramp("grey", 15);
    return pal.ramp("gold", gold_level[row]);
}

} // namespace

std::map<int, Grid> load_glyphs(const std::string &path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::map<int, Grid> glyphs;
    Grid *current = nullptr;
    std::string line;
    int lineno = 0;
    while (std::getline(in, line)) {
        ++lineno;
        const std::string where = path + ":" + std::to_string(lineno);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line.rfind("glyph ", 0) == 0) {
            const std::string name = line.substr(6);
            const int code = name == "space" ? ' ' : static_cast<unsigned char>(name[0]);
            if (name.size() != 1 && name != "space")
                throw std::runtime_error(where + ": bad glyph name '" + name + "'");
            if (glyphs.count(code)) throw std::runtime_error(where + ": glyph given twice");
            current = &glyphs[code];
            continue;
        }
        if (!current) throw std::runtime_error(where + ": row before any glyph");
        if (line.find_first_not_of("#.") != std::string::npos)
            throw std::runtime_error(where + ": rows hold only '#' and '.'");
        if (!current->empty() && current->front().size() != line.size())
            throw std::runtime_error(where + ": rows of one glyph differ in length");
        if (static_cast<int>(line.size()) > kGlyphW - 2 || current->size() >= kBaseline)
            throw std::runtime_error(where + ": glyph larger than its box");
        current->push_back(line);
    }
    for (int c = kFirstChar; c <= kLastChar; ++c)
        if (!glyphs.count(c))
            throw std::runtime_error(path + ": no glyph for '" + std::string(1, char(c)) + "'");
    return glyphs;
}

Image render_glyph(const Grid &g, const Palette &pal) {
    Image box(kGlyphW, kGlyphH);
    const int gw = static_cast<int>(g.front().size());
    const int left = (kGlyphW - gw) / 2;
    const int top = kBaseline + 1 - static_cast<int>(g.size());
    for (int r = 0; r < static_cast<int>(g.size()); ++r)
        for (int c = 0; c < gw; ++c)
            if (g[r][c] == '#') box.set(left + c, top + r, ink_for_row(top + r, pal));
    return box;
}

Image font_sheet(const std::map<int, Grid> &glyphs, const Palette &pal) {
    const int count = kLastChar - kFirstChar + 1;
    const int rows = (count + kPerRow - 1) / kPerRow;
    Image sheet(kPerRow * (kGlyphW + 1) + 1, rows * (kGlyphH + 1) + 1, 255);
    for (int i = 0; i < count; ++i) {
        const int x = 1 + (i % kPerRow) * (kGlyphW + 1);
        const int y = 1 + (i / kPerRow) * (kGlyphH + 1);
        sheet.blit(render_glyph(glyphs.at(kFirstChar + i), pal), x, y);
    }
    return sheet;
}

} // namespace arte

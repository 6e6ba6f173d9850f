// The game font: glyph grids from the data folder, laid out as an Allegro bitmap-font picture.
#pragma once

#include "image.h"

#include <map>
#include <string>
#include <vector>

namespace arte {

constexpr int kGlyphW = 13; // fixed advance
constexpr int kGlyphH = 16;
constexpr int kFirstChar = 32;
constexpr int kLastChar = 126;

using Grid = std::vector<std::string>;

// Reads "glyph C" headers followed by rows of '#' and '.'; ';' starts a comment line.
std::map<int, Grid> load_glyphs(const std::string &path);

// One glyph in its box: centred across, on the baseline, coloured by the row gradient.
Image render_glyph(const Grid &g, const Palette &pal);

// The picture that Allegro's bitmap-font grabber reads: glyph boxes with index 0 as the
// transparent ground, index 255 around every box.
Image font_sheet(const std::map<int, Grid> &glyphs, const Palette &pal);

} // namespace arte

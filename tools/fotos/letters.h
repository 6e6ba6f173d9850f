// The logo letterforms, read from a pixel-art text file and drawn at any cell size.
#pragma once

#include "canvas.h"

#include <map>
#include <string>
#include <vector>

namespace fotos {

class Letters {
  public:
    // Reads the letter source; on failure returns false and says why in `err`.
    bool parse(const std::string &text, std::string &err);
    int rows() const { return rows_; }
    bool has(char c) const { return glyphs_.count(c) != 0; }

    // Width in pixels of a line of text; a space is three cells wide.
    float width(const std::string &s, float cell, float gap) const;
    // Adds a line of text with its top-left corner at (x, y). `slant` shifts each pixel row
    // right by that fraction of its height above the baseline. Throws on a missing letter.
    void draw(Mask &m, const std::string &s, float x, float y, float cell, float gap,
              float slant = 0) const;

  private:
    struct Glyph {
        int w = 0;
        std::vector<std::string> cells;
    };
    const Glyph &glyph(char c) const;
    int rows_ = 0;
    std::map<char, Glyph> glyphs_;
};

} // namespace fotos

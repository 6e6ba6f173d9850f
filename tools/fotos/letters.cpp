#include "letters.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

namespace fotos {

namespace {

// A cell's coverage at (u, v), both in [0, 1) with v pointing down. The corner pieces are
// named after the corner of a letter they round off: 'r' top-left, '7' top-right,
// 'L' bottom-left, 'J' bottom-right. Where two diagonals meet, 'v' is the point of a V and
// '^' the cell above it with the notch between the arms.
bool covers(char c, float u, float v) {
    switch (c) {
    case 'v':
        return u >= v && u + v <= 1;
    case '^':
        return u <= v || u + v >= 1;
    case '#':
        return true;
    case 'r':
        return u + v >= 1;
    case '7':
        return u <= v;
    case 'L':
        return u >= v;
    case 'J':
        return u + v <= 1;
    default:
        return false;
    }
}

bool is_cell(char c) {
    return c != 0 && std::string(".#r7LJv^").find(c) != std::string::npos;
}

std::string trimmed(const std::string &s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

} // namespace

bool Letters::parse(const std::string &text, std::string &err) {
    rows_ = 0;
    glyphs_.clear();
    std::istringstream in(text);
    std::string raw;
    int n = 0;
    char current = 0;
    auto where = [&] { return "line " + std::to_string(n) + ": "; };
    auto complete = [&]() -> bool {
        if (current && int(glyphs_[current].cells.size()) != rows_) {
            err = where() + "letter '" + std::string(1, current) + "' needs " +
                  std::to_string(rows_) + " rows";
            return false;
        }
        return true;
    };
    while (std::getline(in, raw)) {
        n++;
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line.rfind("rows ", 0) == 0) {
            if (rows_ != 0) {
                err = where() + "rows given twice";
                return false;
            }
            rows_ = std::atoi(line.c_str() + 5);
            if (rows_ < 1 || rows_ > 32) {
                err = where() + "bad row count";
                return false;
            }
            continue;
        }
        if (line[0] == '=') {
            if (rows_ == 0) {
                err = where() + "letters come after the rows line";
                return false;
            }
            if (!complete()) return false;
            const std::string name = trimmed(line.substr(1));
            if (name.size() != 1 || name[0] == ' ') {
                err = where() + "a letter is named by one character";
                return false;
            }
            current = name[0];
            if (glyphs_.count(current)) {
                err = where() + "letter '" + name + "' given twice";
                return false;
            }
            glyphs_[current] = Glyph{};
            continue;
        }
        if (!current) {
            err = where() + "cells before any '=' line";
            return false;
        }
        Glyph &g = glyphs_[current];
        for (char c : line)
            if (!is_cell(c)) {
                err = where() + "unknown cell '" + std::string(1, c) + "'";
                return false;
            }
        if (int(g.cells.size()) == rows_) {
            err = where() + "too many rows";
            return false;
        }
        if (!g.cells.empty() && int(line.size()) != g.w) {
            err = where() + "rows of a letter differ in width";
            return false;
        }
        g.w = int(line.size());
        g.cells.push_back(line);
    }
    if (!complete()) return false;
    if (glyphs_.empty()) {
        err = "no letters";
        return false;
    }
    return true;
}

const Letters::Glyph &Letters::glyph(char c) const {
    const auto it = glyphs_.find(c);
    if (it == glyphs_.end()) throw std::runtime_error(std::string("no letterform for '") + c + "'");
    return it->second;
}

float Letters::width(const std::string &s, float cell, float gap) const {
    float w = 0;
    for (size_t i = 0; i < s.size(); i++) {
        w += (s[i] == ' ' ? 3.f : float(glyph(s[i]).w)) * cell;
        if (i + 1 < s.size()) w += gap * cell;
    }
    return w;
}

void Letters::draw(Mask &m, const std::string &s, float x, float y, float cell, float gap,
                   float slant) const {
    const float h = float(rows_) * cell;
    for (char c : s) {
        if (c == ' ') {
            x += (3 + gap) * cell;
            continue;
        }
        const Glyph &g = glyph(c);
        const float gw = float(g.w) * cell;
        const int py0 = int(std::floor(y)), py1 = int(std::ceil(y + h));
        const int px0 = int(std::floor(x)), px1 = int(std::ceil(x + gw + slant * h));
        for (int py = py0; py < py1; py++)
            for (int px = px0; px < px1; px++) {
                const float ly = float(py) + 0.5f - y;
                const float lx = float(px) + 0.5f - x - slant * (h - ly);
                if (lx < 0 || ly < 0 || lx >= gw || ly >= h) continue;
                const int cx = int(lx / cell), cy = int(ly / cell);
                const float u = lx / cell - float(cx), v = ly / cell - float(cy);
                if (covers(g.cells[cy][cx], u, v)) m.set(px, py);
            }
        x += gw + gap * cell;
    }
}

} // namespace fotos

#include "image.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace arte {

void Image::fill_rect(int x, int y, int rw, int rh, int c) {
    for (int j = y; j < y + rh; ++j)
        for (int i = x; i < x + rw; ++i)
            set(i, j, c);
}

void Image::blit(const Image &src, int dx, int dy) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x)
            set(dx + x, dy + y, src.at(x, y));
}

void Image::blit_masked(const Image &src, int dx, int dy) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x)
            if (src.at(x, y)) set(dx + x, dy + y, src.at(x, y));
}

Image Image::mirrored() const {
    Image m(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.set(w - 1 - x, y, at(x, y));
    return m;
}

Image Image::crop(int x, int y, int cw, int ch) const {
    Image c(cw, ch);
    for (int j = 0; j < ch; ++j)
        for (int i = 0; i < cw; ++i)
            c.set(i, j, at(x + i, y + j));
    return c;
}

int Palette::ramp(const std::string &name, int level) const {
    const Ramp &r = ramp_of(name);
    return r.first + std::clamp(level, 0, r.count - 1);
}

const Ramp &Palette::ramp_of(const std::string &name) const {
    auto it = ramps.find(name);
    if (it == ramps.end()) throw std::runtime_error("palette has no ramp " + name);
    return it->second;
}

int Palette::named(const std::string &name) const {
    auto it = names.find(name);
    if (it == names.end()) throw std::runtime_error("palette has no colour " + name);
    return it->second;
}

namespace {

// Allegro palettes hold 6-bit channels: keep every 8-bit value a multiple of 4.
int to_vga(double v) {
    return std::clamp(static_cast<int>(std::lround(v / 4.0)), 0, 63) * 4;
}

Rgb parse_rgb(const std::string &s, const std::string &where) {
    Rgb c;
    char k1 = 0, k2 = 0;
    std::istringstream in(s);
    if (!(in >> c.r >> k1 >> c.g >> k2 >> c.b) || k1 != ',' || k2 != ',')
        throw std::runtime_error(where + ": bad colour '" + s + "'");
    return Rgb{to_vga(c.r), to_vga(c.g), to_vga(c.b)};
}

} // namespace

Palette load_palette(const std::string &path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    Palette pal;
    std::array<bool, 256> used{};
    auto claim = [&](int i, const std::string &where) {
        if (i < 0 || i > 255 || used[i])
            throw std::runtime_error(where + ": index " + std::to_string(i) + " reused");
        used[i] = true;
    };
    std::string line;
    int lineno = 0;
    while (std::getline(in, line)) {
        ++lineno;
        const std::string where = path + ":" + std::to_string(lineno);
        if (auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string kind;
        if (!(words >> kind)) continue;
        if (kind == "color") {
            int index = 0;
            std::string name, rgb;
            if (!(words >> index >> name >> rgb)) throw std::runtime_error(where + ": bad color");
            claim(index, where);
            pal.rgb[index] = parse_rgb(rgb, where);
            pal.names[name] = index;
        } else if (kind == "ramp") {
            int first = 0, count = 0;
            std::string name, key;
            if (!(words >> first >> count >> name) || count < 2)
                throw std::runtime_error(where + ": bad ramp");
            // Key colours at positions 0..count-1; entries between them are interpolated.
            std::vector<std::pair<int, Rgb>> keys;
            while (words >> key) {
                auto colon = key.find(':');
                if (colon == std::string::npos) throw std::runtime_error(where + ": bad key");
                keys.emplace_back(std::stoi(key.substr(0, colon)),
                                  parse_rgb(key.substr(colon + 1), where));
            }
            if (keys.size() < 2 || keys.front().first != 0 || keys.back().first != count - 1)
                throw std::runtime_error(where + ": ramp keys must span 0.." +
                                         std::to_string(count - 1));
            for (int i = 0; i < count; ++i) {
                size_t k = 0;
                while (k + 2 < keys.size() && keys[k + 1].first <= i)
                    ++k;
                const auto &[p0, c0] = keys[k];
                const auto &[p1, c1] = keys[k + 1];
                const double t = p1 == p0 ? 0.0 : double(i - p0) / double(p1 - p0);
                claim(first + i, where);
                pal.rgb[first + i] =
                    Rgb{to_vga(c0.r + (c1.r - c0.r) * t), to_vga(c0.g + (c1.g - c0.g) * t),
                        to_vga(c0.b + (c1.b - c0.b) * t)};
            }
            pal.ramps[name] = Ramp{first, count};
        } else {
            throw std::runtime_error(where + ": unknown line kind " + kind);
        }
    }
    for (int i = 0; i < 256; ++i)
        if (!used[i]) throw std::runtime_error(path + ": index " + std::to_string(i) + " unset");
    return pal;
}

namespace {

void put16(std::string &s, unsigned v) {
    s += char(v & 255);
    s += char((v >> 8) & 255);
}

void put32(std::string &s, unsigned v) {
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}

} // namespace

void save_bmp(const std::string &path, const Image &img, const Palette &pal) {
    const unsigned stride = (img.w + 3) & ~3u;
    const unsigned offset = 14 + 40 + 256 * 4;
    const unsigned size = offset + stride * img.h;
    std::string out;
    out.reserve(size);
    out += "BM";
    put32(out, size);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40); // BITMAPINFOHEADER, no resolution or time fields that could vary
    put32(out, img.w);
    put32(out, img.h);
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);
    put32(out, stride * img.h);
    put32(out, 0);
    put32(out, 0);
    put32(out, 256);
    put32(out, 0);
    for (const Rgb &c : pal.rgb) {
        out += char(c.b);
        out += char(c.g);
        out += char(c.r);
        out += char(0);
    }
    for (int y = img.h - 1; y >= 0; --y) {
        for (int x = 0; x < img.w; ++x)
            out += char(img.at(x, y));
        for (unsigned p = img.w; p < stride; ++p)
            out += char(0);
    }
    std::ofstream f(path, std::ios::binary);
    if (!f.write(out.data(), static_cast<std::streamsize>(out.size())))
        throw std::runtime_error("cannot write " + path);
}

} // namespace arte

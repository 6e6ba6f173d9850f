// icono: the desktop icons, cut from the title picture.
//
//   icono PICTURE.bmp OUT_DIR X Y SIDE SIZE...
//
// Takes the SIDE x SIDE square at (X, Y) of the 8-bit picture and writes OUT_DIR/vorkzel-SIZE.png
// for each SIZE: averaged when shrinking, so that small icons keep the picture's colours. It also
// writes OUT_DIR/vorkzel.ico with every SIZE up to 256, for the Windows program.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>
#include <zlib.h>

namespace {

struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> idx;   // top row first
    uint8_t pal[256][3] = {};   // r, g, b
};

uint32_t le(const std::string &b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; i--) v = v << 8 | static_cast<uint8_t>(b.at(at + i));
    return v;
}

Picture load_bmp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(in)), {});
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || le(b, 28, 2) != 8 || le(b, 30, 4) != 0)
        throw std::runtime_error(path + ": not an uncompressed 8-bit BMP");
    Picture p;
    p.w = static_cast<int>(le(b, 18, 4));
    p.h = static_cast<int>(le(b, 22, 4));
    const size_t pal = 14 + le(b, 14, 4), data = le(b, 10, 4);
    const int colours = le(b, 46, 4) ? static_cast<int>(le(b, 46, 4)) : 256;
    for (int i = 0; i < colours && i < 256; i++)
        for (int c = 0; c < 3; c++) p.pal[i][c] = static_cast<uint8_t>(b.at(pal + 4 * i + 2 - c));
    const size_t stride = (static_cast<size_t>(p.w) + 3) & ~size_t(3);
    p.idx.resize(static_cast<size_t>(p.w) * p.h);
    for (int y = 0; y < p.h; y++)
        for (int x = 0; x < p.w; x++)
            p.idx[static_cast<size_t>(y) * p.w + x] = static_cast<uint8_t>(b.at(data + (p.h - 1 - y) * stride + x));
    return p;
}

void put32(std::string &out, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8) out += static_cast<char>(v >> s);
}

void chunk(std::string &out, const char *type, const std::string &data)
{
    put32(out, static_cast<uint32_t>(data.size()));
    const std::string body = type + data;
    out += body;
    put32(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef *>(body.data()), static_cast<uInt>(body.size()))));
}

// RGB, 8 bits a channel, no interlace.
std::string png(int size, const std::vector<uint8_t> &rgb)
{
    std::string raw;
    for (int y = 0; y < size; y++) {
        raw += '\0'; // no filter
        raw.append(reinterpret_cast<const char *>(rgb.data()) + 3 * size * y, 3 * size);
    }
    uLongf len = compressBound(static_cast<uLong>(raw.size()));
    std::string z(len, '\0');
    if (compress2(reinterpret_cast<Bytef *>(z.data()), &len, reinterpret_cast<const Bytef *>(raw.data()),
                  static_cast<uLong>(raw.size()), 9) != Z_OK)
        throw std::runtime_error("zlib failed");
    z.resize(len);
    std::string ihdr;
    put32(ihdr, static_cast<uint32_t>(size));
    put32(ihdr, static_cast<uint32_t>(size));
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);
    std::string out = "\x89PNG\r\n\x1a\n";
    chunk(out, "IHDR", ihdr);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", "");
    return out;
}

void put_le(std::string &out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; i++) out += static_cast<char>(v >> 8 * i);
}

// An icon image as Windows reads it: 32-bit BGRA rows bottom first, then an empty AND mask
// (the picture is opaque). 256 pixels and more go in as PNG, as Windows keeps them.
std::string ico_image(int size, const std::vector<uint8_t> &rgb)
{
    if (size >= 256) return png(size, rgb);
    std::string out;
    for (uint32_t v : {40u, static_cast<uint32_t>(size), 2u * size}) put_le(out, v, 4);
    put_le(out, 1, 2);  // planes
    put_le(out, 32, 2); // bits per pixel
    for (int i = 0; i < 6; i++) put_le(out, 0, 4);
    for (int y = size - 1; y >= 0; y--)
        for (int x = 0; x < size; x++) {
            const uint8_t *p = &rgb[3 * (static_cast<size_t>(y) * size + x)];
            out += {static_cast<char>(p[2]), static_cast<char>(p[1]), static_cast<char>(p[0]), '\xff'};
        }
    out.append(static_cast<size_t>((size + 31) / 32 * 4) * size, '\0');
    return out;
}

// The .ico container: a directory of (size, offset) entries, then the images.
std::string ico(const std::vector<std::pair<int, std::string>> &images)
{
    std::string head, body;
    put_le(head, 0, 2);
    put_le(head, 1, 2); // icon
    put_le(head, static_cast<uint32_t>(images.size()), 2);
    size_t offset = 6 + 16 * images.size();
    for (const auto &[size, data] : images) {
        head += static_cast<char>(size >= 256 ? 0 : size); // 0 means 256
        head += static_cast<char>(size >= 256 ? 0 : size);
        head += std::string(2, '\0'); // no palette, reserved
        put_le(head, 1, 2);
        put_le(head, 32, 2);
        put_le(head, static_cast<uint32_t>(data.size()), 4);
        put_le(head, static_cast<uint32_t>(offset + body.size()), 4);
        body += data;
    }
    return head + body;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 7) {
        std::fprintf(stderr, "usage: icono PICTURE.bmp OUT_DIR X Y SIDE SIZE...\n");
        return 2;
    }
    try {
        const Picture p = load_bmp(argv[1]);
        const int x0 = std::atoi(argv[3]), y0 = std::atoi(argv[4]), side = std::atoi(argv[5]);
        if (x0 < 0 || y0 < 0 || side <= 0 || x0 + side > p.w || y0 + side > p.h)
            throw std::runtime_error("the square lies outside the picture");
        std::vector<std::pair<int, std::string>> icons;
        for (int a = 6; a < argc; a++) {
            const int size = std::atoi(argv[a]);
            std::vector<uint8_t> rgb(static_cast<size_t>(3) * size * size);
            for (int y = 0; y < size; y++)
                for (int x = 0; x < size; x++) {
                    // Source pixels under this icon pixel (at least one when enlarging).
                    const int sx0 = x * side / size, sy0 = y * side / size;
                    const int sx1 = std::max(sx0 + 1, (x + 1) * side / size);
                    const int sy1 = std::max(sy0 + 1, (y + 1) * side / size);
                    int sum[3] = {}, n = 0;
                    for (int sy = sy0; sy < sy1; sy++)
                        for (int sx = sx0; sx < sx1; sx++, n++)
                            for (int c = 0; c < 3; c++)
                                sum[c] += p.pal[p.idx[static_cast<size_t>(y0 + sy) * p.w + x0 + sx]][c];
                    for (int c = 0; c < 3; c++)
                        rgb[3 * (static_cast<size_t>(y) * size + x) + c] = static_cast<uint8_t>(sum[c] / n);
                }
            std::ofstream(std::string(argv[2]) + "/vorkzel-" + std::to_string(size) + ".png", std::ios::binary)
                << png(size, rgb);
            if (size <= 256) icons.emplace_back(size, ico_image(size, rgb));
        }
        std::ofstream(std::string(argv[2]) + "/vorkzel.ico", std::ios::binary) << ico(icons);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "icono: %s\n", e.what());
        return 1;
    }
    return 0;
}

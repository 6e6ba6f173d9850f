#include "wav.h"

#include <fstream>
#include <stdexcept>

namespace sonido {

namespace {

void put32(std::vector<std::uint8_t> &b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

void put16(std::vector<std::uint8_t> &b, std::uint16_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

void tag(std::vector<std::uint8_t> &b, const char *t) {
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(t[i]));
}

} // namespace

std::vector<std::uint8_t> wav_bytes(const std::vector<std::int16_t> &pcm, int rate) {
    std::uint32_t data = std::uint32_t(pcm.size() * 2);
    std::vector<std::uint8_t> b;
    b.reserve(44 + data);
    tag(b, "RIFF");
    put32(b, 36 + data);
    tag(b, "WAVE");
    tag(b, "fmt ");
    put32(b, 16);
    put16(b, 1); // PCM
    put16(b, 1); // mono
    put32(b, std::uint32_t(rate));
    put32(b, std::uint32_t(rate) * 2);
    put16(b, 2);
    put16(b, 16);
    tag(b, "data");
    put32(b, data);
    for (std::int16_t s : pcm)
        put16(b, std::uint16_t(s));
    return b;
}

void write_file(const std::string &path, const std::vector<std::uint8_t> &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

} // namespace sonido

#include "lector_midi.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace {

struct Reader {
    const std::vector<std::uint8_t> &b;
    std::size_t pos = 0;
    std::size_t end;

    std::uint8_t byte() {
        if (pos >= end) throw std::runtime_error("truncated MIDI data");
        return b[pos++];
    }
    std::uint32_t be(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | byte();
        return v;
    }
    std::uint32_t vlq() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t c = byte();
            v = (v << 7) | (c & 0x7f);
            if (!(c & 0x80)) return v;
        }
        throw std::runtime_error("variable-length number too long");
    }
};

} // namespace

MidiFile read_midi(const std::vector<std::uint8_t> &bytes) {
    MidiFile f;
    Reader r{bytes, 0, bytes.size()};
    if (r.be(4) != 0x4d546864 || r.be(4) != 6) throw std::runtime_error("no MThd header");
    f.format = int(r.be(2));
    int tracks = int(r.be(2));
    f.ppq = int(r.be(2));
    if (f.ppq <= 0 || f.ppq >= 0x8000) throw std::runtime_error("unsupported division");

    std::map<std::uint32_t, std::uint32_t> tempo{{0, 500000}};
    std::uint32_t last_tick = 0;
    struct Open {
        std::uint32_t tick;
        int velocity;
    };
    for (int t = 0; t < tracks; ++t) {
        if (r.be(4) != 0x4d54726b) throw std::runtime_error("no MTrk chunk");
        std::uint32_t length = r.be(4);
        std::size_t chunk_end = r.pos + length;
        if (chunk_end > bytes.size()) throw std::runtime_error("track runs past the file");
        Reader tr{bytes, r.pos, chunk_end};
        std::uint32_t tick = 0;
        std::uint8_t status = 0;
        std::map<int, Open> open; // channel * 128 + key
        bool ended = false;
        while (!ended) {
            tick += tr.vlq();
            std::uint8_t c = tr.byte();
            if (c & 0x80)
                status = c;
            else
                --tr.pos; // running status
            if (status == 0xff) {
                std::uint8_t type = tr.byte();
                std::uint32_t n = tr.vlq();
                if (type == 0x51 && n == 3)
                    tempo[tick] = tr.be(3);
                else
                    tr.pos += n;
                if (type == 0x2f) ended = true;
                continue;
            }
            if (status == 0xf0 || status == 0xf7) {
                tr.pos += tr.vlq();
                continue;
            }
            int kind = status & 0xf0, ch = status & 0x0f;
            int a = tr.byte();
            int b = (kind == 0xc0 || kind == 0xd0) ? 0 : tr.byte();
            if (kind == 0xc0) f.programs.push_back({tick, ch, a});
            bool on = kind == 0x90 && b > 0;
            bool off = kind == 0x80 || (kind == 0x90 && b == 0);
            if (off || on) {
                auto it = open.find(ch * 128 + a);
                if (it != open.end()) {
                    f.notes.push_back(
                        {0.0, it->second.tick, tick - it->second.tick, ch, a, it->second.velocity});
                    open.erase(it);
                }
                if (on) open[ch * 128 + a] = {tick, b};
            }
        }
        if (!open.empty()) throw std::runtime_error("a note is never released");
        last_tick = std::max(last_tick, tick);
        r.pos = chunk_end;
    }

    auto seconds_at = [&](std::uint32_t tick) {
        double s = 0.0;
        auto it = tempo.begin();
        while (it != tempo.end()) {
            auto next = std::next(it);
            std::uint32_t to = next == tempo.end() ? tick : std::min(tick, next->first);
            if (to > it->first) s += double(to - it->first) / f.ppq * it->second / 1e6;
            if (next == tempo.end() || next->first >= tick) break;
            it = next;
        }
        return s;
    };
    std::stable_sort(f.notes.begin(), f.notes.end(),
                     [](const MidiNote &x, const MidiNote &y) { return x.tick < y.tick; });
    for (MidiNote &n : f.notes)
        n.seconds = seconds_at(n.tick);
    f.seconds = seconds_at(last_tick);
    return f;
}

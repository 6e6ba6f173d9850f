#include "song.h"
#include "texto.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <istream>
#include <sstream>
#include <stdexcept>

namespace sonido {

namespace {

int to_int(const std::string &s, const std::string &file, int line) {
    if (s.empty() || s.find_first_not_of("-0123456789") != std::string::npos)
        fail(file, line, "bad integer '" + s + "'");
    return std::stoi(s);
}

double to_double(const std::string &s, const std::string &file, int line) {
    std::size_t used = 0;
    double v = 0.0;
    try {
        v = std::stod(s, &used);
    } catch (const std::exception &) {
        used = 0;
    }
    if (s.empty() || used != s.size()) fail(file, line, "bad number '" + s + "'");
    return v;
}

struct BarNote {
    std::uint32_t offset;
    std::uint32_t length;
    int key;
    int accent; // +1 accented, -1 soft
};
using Bar = std::vector<BarNote>;

struct Section {
    std::string name;
    double bpm = 0.0; // 0: the song's tempo
    std::map<std::string, std::vector<Bar>> bars;
    int line = 0;
};

int pitch_of(const std::string &s, const std::string &file, int line) {
    static const int base[7] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    if (s.empty() || s[0] < 'a' || s[0] > 'g') fail(file, line, "bad note '" + s + "'");
    int key = base[s[0] - 'a'];
    std::size_t i = 1;
    if (i < s.size() && s[i] == '#') {
        ++key;
        ++i;
    } else if (i + 1 < s.size() && s[i] == 'b' && (std::isdigit(s[i + 1]) || s[i + 1] == '-')) {
        --key;
        ++i;
    }
    int octave = to_int(s.substr(i), file, line);
    key += 12 * (octave + 1);
    if (key < 0 || key > 127) fail(file, line, "note out of range '" + s + "'");
    return key;
}

int drum_of(const std::string &s, const std::string &file, int line) {
    auto it = drum_names().find(s);
    if (it != drum_names().end()) return it->second;
    if (s.size() > 1 && s[0] == 'n') {
        int key = to_int(s.substr(1), file, line);
        if (key >= 0 && key <= 127) return key;
    }
    fail(file, line, "unknown drum '" + s + "'");
}

std::uint32_t duration_of(const std::string &s, int ppq, const std::string &file, int line) {
    std::uint32_t total = 0;
    std::size_t begin = 0;
    while (begin <= s.size()) {
        std::size_t end = s.find('+', begin);
        if (end == std::string::npos) end = s.size();
        std::string part = s.substr(begin, end - begin);
        bool dotted = !part.empty() && part.back() == '.';
        if (dotted) part.pop_back();
        int value = to_int(part, file, line);
        std::uint32_t whole = std::uint32_t(4 * ppq);
        if (value <= 0 || whole % std::uint32_t(value) != 0)
            fail(file, line, "note value '" + part + "' does not divide a whole note");
        std::uint32_t ticks = whole / std::uint32_t(value);
        if (dotted) {
            if (ticks % 2 != 0) fail(file, line, "dotted value too short '" + part + "'");
            ticks += ticks / 2;
        }
        total += ticks;
        begin = end + 1;
    }
    return total;
}

Bar parse_bar(std::istringstream &words, bool drums, int ppq, std::uint32_t bar_ticks,
              const std::string &file, int line) {
    Bar bar;
    std::uint32_t at = 0;
    std::uint32_t last = 0;
    std::string word;
    std::vector<std::string> tokens;
    while (words >> word) {
        // "TOKEN*N" stands for N copies of TOKEN.
        std::size_t star = word.find('*');
        int copies = 1;
        if (star != std::string::npos) {
            copies = to_int(word.substr(star + 1), file, line);
            if (copies < 1 || copies > 64) fail(file, line, "bad copy count in '" + word + "'");
            word.resize(star);
        }
        tokens.insert(tokens.end(), std::size_t(copies), word);
    }
    for (std::string token : tokens) {
        if (token.empty()) fail(file, line, "empty token");
        int accent = 0;
        if (token.back() == '!' || token.back() == '?') {
            accent = token.back() == '!' ? 1 : -1;
            token.pop_back();
        }
        std::size_t slash = token.find('/');
        std::string pitches = token.substr(0, slash);
        if (slash != std::string::npos)
            last = duration_of(token.substr(slash + 1), ppq, file, line);
        else if (last == 0)
            fail(file, line, "the first note of a bar needs a duration: '" + token + "'");
        if (pitches != "r") {
            std::size_t begin = 0;
            while (begin <= pitches.size()) {
                std::size_t end = pitches.find(',', begin);
                if (end == std::string::npos) end = pitches.size();
                std::string p = pitches.substr(begin, end - begin);
                int key = drums ? drum_of(p, file, line) : pitch_of(p, file, line);
                bar.push_back({at, last, key, accent});
                begin = end + 1;
            }
        }
        at += last;
    }
    if (at != bar_ticks)
        fail(file, line,
             "bar lasts " + std::to_string(at) + " ticks, the meter wants " +
                 std::to_string(bar_ticks));
    return bar;
}

Track parse_track(std::istringstream &words, const std::string &file, int line) {
    Track t;
    if (!(words >> t.name)) fail(file, line, "track needs a name");
    bool channel = false;
    std::string kv;
    while (words >> kv) {
        std::size_t eq = kv.find('=');
        if (eq == std::string::npos) fail(file, line, "expected key=value, got '" + kv + "'");
        std::string key = kv.substr(0, eq), value = kv.substr(eq + 1);
        if (key == "channel") {
            t.channel = to_int(value, file, line) - 1;
            channel = true;
            if (t.channel < 0 || t.channel > 15) fail(file, line, "channel must be 1 to 16");
        } else if (key == "program") {
            t.program = to_int(value, file, line);
            if (t.program < 0 || t.program > 127) fail(file, line, "program must be 0 to 127");
        } else if (key == "volume" || key == "pan" || key == "velocity") {
            int v = to_int(value, file, line);
            if (v < 0 || v > 127) fail(file, line, key + " must be 0 to 127");
            (key == "volume" ? t.volume : key == "pan" ? t.pan : t.velocity) = v;
        } else if (key == "legato") {
            t.legato = to_double(value, file, line);
            if (t.legato <= 0.0 || t.legato > 1.0) fail(file, line, "legato must lie in (0, 1]");
        } else {
            fail(file, line, "unknown track key '" + key + "'");
        }
    }
    if (!channel) fail(file, line, "track '" + t.name + "' needs channel=");
    if (t.channel == 9 && t.program >= 0) fail(file, line, "the drum channel takes no program");
    if (t.channel != 9 && t.program < 0) fail(file, line, "track '" + t.name + "' needs program=");
    return t;
}

} // namespace

const std::map<std::string, int> &drum_names() {
    static const std::map<std::string, int> names = {
        {"k", 36},  {"k2", 35}, {"s", 38},  {"s2", 40}, {"rim", 37}, {"cl", 39}, {"h", 42},
        {"hp", 44}, {"o", 46},  {"c", 49},  {"c2", 57}, {"cn", 52},  {"sp", 55}, {"ri", 51},
        {"rb", 53}, {"t1", 50}, {"t2", 48}, {"t3", 47}, {"t4", 45},  {"t5", 43}, {"t6", 41},
        {"tb", 54}, {"cb", 56}, {"sh", 82}, {"tri", 81}};
    return names;
}

Song parse_song(std::istream &in, const std::string &file) {
    Song song;
    double bpm = 0.0;
    std::vector<Section> sections;
    std::vector<std::pair<std::string, int>> order;
    std::string text;
    int line = 0;
    auto find_track = [&](const std::string &name) -> Track * {
        for (Track &t : song.tracks)
            if (t.name == name) return &t;
        return nullptr;
    };
    while (std::getline(in, text)) {
        ++line;
        text = strip_comment(text);
        std::istringstream words(text);
        std::string first;
        if (!(words >> first)) continue;
        std::uint32_t bar_ticks = std::uint32_t(4 * song.ppq * song.beats / song.unit);
        if (first == "tempo") {
            std::string v;
            words >> v;
            bpm = to_double(v, file, line);
            if (bpm < 20.0 || bpm > 400.0) fail(file, line, "tempo out of range");
        } else if (first == "meter") {
            std::string v;
            words >> v;
            std::size_t slash = v.find('/');
            if (slash == std::string::npos) fail(file, line, "meter is BEATS/UNIT");
            song.beats = to_int(v.substr(0, slash), file, line);
            song.unit = to_int(v.substr(slash + 1), file, line);
            if (song.beats < 1 || song.beats > 16 ||
                (song.unit != 2 && song.unit != 4 && song.unit != 8))
                fail(file, line, "unsupported meter");
            if (!sections.empty()) fail(file, line, "meter must come before the sections");
        } else if (first == "track") {
            Track t = parse_track(words, file, line);
            if (find_track(t.name)) fail(file, line, "track '" + t.name + "' defined twice");
            song.tracks.push_back(t);
        } else if (first == "section") {
            Section s;
            s.line = line;
            if (!(words >> s.name)) fail(file, line, "section needs a name");
            for (const Section &other : sections)
                if (other.name == s.name)
                    fail(file, line, "section '" + s.name + "' defined twice");
            std::string opt;
            while (words >> opt) {
                if (opt.rfind("tempo=", 0) != 0)
                    fail(file, line, "unknown section option '" + opt + "'");
                s.bpm = to_double(opt.substr(6), file, line);
            }
            sections.push_back(s);
        } else if (first == "order") {
            std::string name;
            while (words >> name)
                order.push_back({name, line});
        } else {
            Track *t = find_track(first);
            if (!t) fail(file, line, "unknown track or keyword '" + first + "'");
            if (sections.empty()) fail(file, line, "a bar outside any section");
            int repeat = 1;
            if (words.peek() != EOF) {
                std::streampos here = words.tellg();
                std::string maybe;
                words >> maybe;
                if (maybe.size() > 1 && maybe[0] == 'x' &&
                    maybe.find_first_not_of("0123456789", 1) == std::string::npos) {
                    repeat = std::stoi(maybe.substr(1));
                    if (repeat < 1) fail(file, line, "bad repeat count");
                } else {
                    words.clear();
                    words.seekg(here);
                }
            }
            Bar bar = parse_bar(words, t->channel == 9, song.ppq, bar_ticks, file, line);
            auto &bars = sections.back().bars[t->name];
            bars.insert(bars.end(), std::size_t(repeat), bar);
        }
    }
    if (bpm == 0.0) fail(file, line, "no tempo given");
    if (order.empty()) fail(file, line, "no order given");

    std::uint32_t bar_ticks = std::uint32_t(4 * song.ppq * song.beats / song.unit);
    std::uint32_t tick = 0;
    double current = 0.0;
    for (const auto &[name, where] : order) {
        auto s = std::find_if(sections.begin(), sections.end(),
                              [&](const Section &x) { return x.name == name; });
        if (s == sections.end()) fail(file, where, "unknown section '" + name + "'");
        std::size_t count = 0;
        for (const auto &[track, bars] : s->bars)
            count = std::max(count, bars.size());
        for (const auto &[track, bars] : s->bars)
            if (bars.size() != count)
                fail(file, s->line,
                     "section '" + s->name + "': track '" + track + "' has " +
                         std::to_string(bars.size()) + " bars, the longest has " +
                         std::to_string(count));
        double want = s->bpm > 0.0 ? s->bpm : bpm;
        if (want != current) {
            song.tempos.push_back({tick, want});
            current = want;
        }
        for (Track &t : song.tracks) {
            auto it = s->bars.find(t.name);
            if (it == s->bars.end()) continue;
            for (std::size_t b = 0; b < count; ++b) {
                for (const BarNote &n : it->second[b]) {
                    Note out;
                    out.tick = tick + std::uint32_t(b) * bar_ticks + n.offset;
                    double gate = t.channel == 9 ? 1.0 : t.legato;
                    out.length = std::max<std::uint32_t>(1, std::uint32_t(n.length * gate));
                    out.key = std::uint8_t(n.key);
                    out.velocity = std::uint8_t(std::clamp(t.velocity + 22 * n.accent, 1, 127));
                    t.notes.push_back(out);
                }
            }
        }
        tick += std::uint32_t(count) * bar_ticks;
    }
    song.end = tick;
    return song;
}

double song_seconds(const Song &song) {
    double seconds = 0.0;
    for (std::size_t i = 0; i < song.tempos.size(); ++i) {
        std::uint32_t to = i + 1 < song.tempos.size() ? song.tempos[i + 1].tick : song.end;
        seconds += double(to - song.tempos[i].tick) / song.ppq * 60.0 / song.tempos[i].bpm;
    }
    return seconds;
}

namespace {

void put_vlq(std::vector<std::uint8_t> &b, std::uint32_t v) {
    std::uint8_t bytes[5];
    int n = 0;
    do {
        bytes[n++] = std::uint8_t(v & 0x7f);
        v >>= 7;
    } while (v != 0);
    while (n > 0) {
        --n;
        b.push_back(std::uint8_t(bytes[n] | (n > 0 ? 0x80 : 0)));
    }
}

struct Event {
    std::uint32_t tick;
    int order; // at one tick: setup, then note-offs, then note-ons
    std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> chunk(std::vector<Event> events, std::uint32_t end) {
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    events.push_back({end, 99, {0xff, 0x2f, 0x00}});
    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    for (const Event &e : events) {
        put_vlq(body, e.tick - now);
        now = e.tick;
        body.insert(body.end(), e.data.begin(), e.data.end());
    }
    std::vector<std::uint8_t> out = {'M', 'T', 'r', 'k'};
    for (int i = 3; i >= 0; --i)
        out.push_back(std::uint8_t(body.size() >> (8 * i)));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Event meta_text(std::uint8_t type, const std::string &text) {
    Event e{0, 0, {0xff, type}};
    put_vlq(e.data, std::uint32_t(text.size()));
    e.data.insert(e.data.end(), text.begin(), text.end());
    return e;
}

} // namespace

std::vector<std::uint8_t> smf_bytes(const Song &song, const std::string &solo) {
    std::vector<const Track *> parts;
    for (const Track &t : song.tracks)
        if (solo.empty() || t.name == solo) parts.push_back(&t);
    if (parts.empty()) throw std::runtime_error("no track named '" + solo + "'");

    std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    out.push_back(std::uint8_t((parts.size() + 1) >> 8));
    out.push_back(std::uint8_t(parts.size() + 1));
    out.push_back(std::uint8_t(song.ppq >> 8));
    out.push_back(std::uint8_t(song.ppq));

    std::vector<Event> tempo;
    int log2_unit = song.unit == 2 ? 1 : song.unit == 4 ? 2 : 3;
    tempo.push_back(
        {0, 0, {0xff, 0x58, 0x04, std::uint8_t(song.beats), std::uint8_t(log2_unit), 24, 8}});
    for (const TempoChange &c : song.tempos) {
        auto us = std::uint32_t(std::lround(60000000.0 / c.bpm));
        tempo.push_back(
            {c.tick,
             1,
             {0xff, 0x51, 0x03, std::uint8_t(us >> 16), std::uint8_t(us >> 8), std::uint8_t(us)}});
    }
    auto first = chunk(tempo, song.end);
    out.insert(out.end(), first.begin(), first.end());

    for (const Track *t : parts) {
        std::vector<Event> events;
        auto ch = std::uint8_t(t->channel);
        events.push_back(meta_text(0x03, t->name));
        if (t->program >= 0)
            events.push_back({0, 0, {std::uint8_t(0xc0 | ch), std::uint8_t(t->program)}});
        events.push_back({0, 0, {std::uint8_t(0xb0 | ch), 7, std::uint8_t(t->volume)}});
        events.push_back({0, 0, {std::uint8_t(0xb0 | ch), 10, std::uint8_t(t->pan)}});
        for (const Note &n : t->notes) {
            events.push_back({n.tick, 2, {std::uint8_t(0x90 | ch), n.key, n.velocity}});
            events.push_back({n.tick + n.length, 1, {std::uint8_t(0x80 | ch), n.key, 64}});
        }
        auto c = chunk(std::move(events), std::max(song.end, [&] {
                           std::uint32_t last = 0;
                           for (const Note &n : t->notes)
                               last = std::max(last, n.tick + n.length);
                           return last;
                       }()));
        out.insert(out.end(), c.begin(), c.end());
    }
    return out;
}

} // namespace sonido

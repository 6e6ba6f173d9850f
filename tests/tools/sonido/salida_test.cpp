// Checks the generated sounds and music the way the game meets them: through Allegro's loaders,
// and with numbers for what cannot be looked at (length, level, seams, spectrum, note data).
#include <allegro.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <numeric>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "lector_midi.h"

namespace fs = std::filesystem;

std::vector<fs::path> song_sources();

namespace {

const char *const kSystemPatches = "/etc/timidity/freepats.cfg";

std::vector<std::uint8_t> bytes_of(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the tool over the repository's sources into a fresh folder; returns that folder.
fs::path generate(const std::string &tag) {
    fs::path out =
        fs::temp_directory_path() / ("vz_sonido_" + tag + "_" + std::to_string(::getpid()));
    fs::remove_all(out);
    fs::create_directories(out / "datos");
    fs::create_directories(out / "midi");
    auto run = [](const std::string &args) {
        std::string cmd = std::string(VZ_SONIDO_TOOL) + " " + args;
        if (std::system(cmd.c_str()) != 0) throw std::runtime_error("failed: " + cmd);
    };
    fs::path data = VZ_SONIDO_DATA;
    run("effects " + (data / "efectos.txt").string() + " " + (out / "datos").string());
    run("song " + (data / "fox.txt").string() + " " + (out / "datos" / "fox.mid").string());
    for (const fs::path &song : song_sources())
        run("song " + song.string() + " " + (out / "midi" / song.stem()).string() + ".mid");
    run(std::string("patches ") + kSystemPatches + " " + (out / "datos" / "patches.cfg").string());
    return out;
}

struct Moment {
    const char *name;
    double min_seconds;
    double max_seconds;
};

// Each effect's length is bound by the moment it plays in: the game waits 2 s after the level
// start sound and 3 s after the level-completed sound.
const Moment kEffects[] = {
    {"explocio", 1.5, 2.5}, {"camio1", 1.0, 2.0}, {"bolsa", 0.4, 0.8},  {"grumvel", 0.4, 0.8},
    {"camio2", 0.8, 2.0},   {"gold", 0.7, 1.3},   {"camio3", 1.0, 3.0}, {"gameover", 1.5, 5.0},
};

struct Pcm {
    int rate = 0;
    std::vector<double> x; // -1..1
};

class SonidoSalida : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        dir_ = new fs::path(generate("a"));
    }
    static void TearDownTestSuite() {
        fs::remove_all(*dir_);
        delete dir_;
        dir_ = nullptr;
    }

    static Pcm load(const std::string &name) {
        std::string path = (*dir_ / "datos" / (name + ".wav")).string();
        SAMPLE *s = load_sample(path.c_str());
        Pcm p;
        if (s == nullptr) {
            ADD_FAILURE() << "load_sample refused " << path;
            return p;
        }
        EXPECT_EQ(s->bits, 16) << name;
        EXPECT_EQ(s->stereo, 0) << name;
        EXPECT_TRUE(s->freq == 22050 || s->freq == 44100) << name << " at " << s->freq;
        p.rate = s->freq;
        // Allegro keeps 16-bit samples unsigned, centred on 0x8000.
        const auto *d = static_cast<const std::uint16_t *>(s->data);
        for (unsigned long i = 0; i < s->len; ++i)
            p.x.push_back((int(d[i]) - 32768) / 32768.0);
        destroy_sample(s);
        return p;
    }

    static MidiFile midi(const fs::path &p) { return read_midi(bytes_of(p)); }

    static fs::path *dir_;
};

fs::path *SonidoSalida::dir_ = nullptr;

double rms(const std::vector<double> &x, std::size_t a, std::size_t b) {
    double s = 0.0;
    for (std::size_t i = a; i < b; ++i)
        s += x[i] * x[i];
    return std::sqrt(s / double(std::max<std::size_t>(1, b - a)));
}

// Spectral centroid in Hz of x[a, b), from a Hann-windowed FFT.
double centroid(const Pcm &p, double from, double to) {
    std::size_t a = std::size_t(from * p.rate), b = std::min(p.x.size(), std::size_t(to * p.rate));
    std::size_t n = 1;
    while (n < b - a)
        n <<= 1;
    std::vector<std::complex<double>> v(n);
    for (std::size_t i = a; i < b; ++i)
        v[i - a] =
            p.x[i] * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(i - a) / double(b - a)));
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) std::swap(v[i], v[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        std::complex<double> w = std::polar(1.0, -2.0 * std::numbers::pi / double(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> u = 1.0;
            for (std::size_t k = 0; k < len / 2; ++k, u *= w) {
                auto e = v[i + k], o = v[i + k + len / 2] * u;
                v[i + k] = e + o;
                v[i + k + len / 2] = e - o;
            }
        }
    }
    double num = 0.0, den = 0.0;
    for (std::size_t k = 1; k < n / 2; ++k) {
        double m = std::abs(v[k]);
        num += m * double(k) * p.rate / double(n);
        den += m;
    }
    return den > 0.0 ? num / den : 0.0;
}

// Fundamental in Hz of x[a, b) (15 to 1000 Hz; 0 when none): the shortest lag whose
// autocorrelation comes close to the strongest, so that octave-down errors do not win.
double pitch(const Pcm &p, double from, double to) {
    std::size_t a = std::size_t(from * p.rate), b = std::min(p.x.size(), std::size_t(to * p.rate));
    std::size_t lo = std::size_t(p.rate / 1000), hi = std::size_t(p.rate / 15);
    std::vector<double> r(hi + 1, 0.0);
    double best = 0.0;
    for (std::size_t lag = lo; lag <= hi; ++lag) {
        double s = 0.0;
        for (std::size_t i = a; i + lag < b; ++i)
            s += p.x[i] * p.x[i + lag];
        r[lag] = s / double(b - a - lag);
        best = std::max(best, r[lag]);
    }
    for (std::size_t lag = lo + 1; lag < hi; ++lag)
        if (r[lag] >= 0.9 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1])
            return double(p.rate) / double(lag);
    return 0.0;
}

// Patch numbers the game's patch list gives Allegro's synthesiser, read the way it reads them:
// melodic entries numbered from 1, the drum kit in a block keyed by note. Each must name a file.
struct Patches {
    std::set<int> programs, drums;
};

Patches generated_patches(const fs::path &list) {
    Patches p;
    std::ifstream in(list);
    std::string line;
    bool drums = false;
    while (std::getline(in, line)) {
        std::istringstream w(line);
        std::string first, second;
        if (!(w >> first) || first[0] == '#') continue;
        if (first == "end_multipatch") {
            drums = false;
            continue;
        }
        if (!(w >> second)) {
            ADD_FAILURE() << "stray line: " << line;
            continue;
        }
        if (second == "begin_multipatch") {
            EXPECT_EQ(first, "129") << "the kit must follow the 128 programs";
            drums = true;
            continue;
        }
        EXPECT_EQ(second.front(), '/') << line;
        EXPECT_TRUE(fs::exists(second)) << line;
        int n = std::stoi(first);
        if (drums)
            p.drums.insert(n);
        else
            p.programs.insert(n - 1);
    }
    return p;
}

TEST_F(SonidoSalida, EveryEffectLoadsWithinItsMomentAndLevels) {
    for (const Moment &m : kEffects) {
        SCOPED_TRACE(m.name);
        Pcm p = load(m.name);
        ASSERT_GT(p.rate, 0);
        double seconds = double(p.x.size()) / p.rate;
        EXPECT_GE(seconds, m.min_seconds);
        EXPECT_LE(seconds, m.max_seconds);
        double peak = 0.0, mean = 0.0;
        for (double v : p.x) {
            peak = std::max(peak, std::abs(v));
            mean += v;
        }
        mean /= double(p.x.size());
        EXPECT_LT(peak, 0.98) << "too close to clipping";
        EXPECT_GT(peak, 0.3) << "too quiet";
        EXPECT_GT(rms(p.x, 0, p.x.size()), 0.03) << "too little energy";
        EXPECT_LT(std::abs(mean), 0.005) << "DC offset";
    }
}

TEST_F(SonidoSalida, OneShotsStartAndEndAtSilence) {
    for (const Moment &m : kEffects) {
        if (std::string(m.name) == "camio1") continue;
        SCOPED_TRACE(m.name);
        Pcm p = load(m.name);
        ASSERT_GT(p.x.size(), 4u);
        std::size_t n = p.x.size();
        for (std::size_t i : {std::size_t(0), std::size_t(1), n - 2, n - 1})
            EXPECT_LT(std::abs(p.x[i]), 0.01) << "sample " << i;
        // The last 5 ms fade out: nothing there as loud as the sound's own body.
        std::size_t tail = std::size_t(0.005 * p.rate);
        EXPECT_LT(rms(p.x, n - tail, n), 0.5 * rms(p.x, 0, n));
    }
}

TEST_F(SonidoSalida, EngineLoopsWithoutSeamOrSwell) {
    Pcm p = load("camio1");
    std::size_t n = p.x.size();
    ASSERT_GT(n, 1000u);
    // The step across the seam must look like any step inside the loop, and so must the curve.
    std::vector<double> steps, bends;
    for (std::size_t i = 1; i < n; ++i)
        steps.push_back(std::abs(p.x[i] - p.x[i - 1]));
    for (std::size_t i = 1; i + 1 < n; ++i)
        bends.push_back(std::abs(p.x[i + 1] - 2.0 * p.x[i] + p.x[i - 1]));
    auto percentile = [](std::vector<double> v, double q) {
        std::sort(v.begin(), v.end());
        return v[std::size_t(q * double(v.size() - 1))];
    };
    EXPECT_LE(std::abs(p.x[0] - p.x[n - 1]), percentile(steps, 0.99));
    EXPECT_LE(std::abs(p.x[1] - 2.0 * p.x[0] + p.x[n - 1]), percentile(bends, 0.99));
    EXPECT_LE(std::abs(p.x[0] - 2.0 * p.x[n - 1] + p.x[n - 2]), percentile(bends, 0.99));
    // No fade at either end, and an even level through the loop (heard for minutes on end).
    double whole = rms(p.x, 0, n);
    std::size_t w = std::size_t(0.1 * p.rate);
    for (std::size_t a = 0; a + w <= n; a += w) {
        double r = rms(p.x, a, a + w);
        EXPECT_GT(r, whole * 0.7) << "window at " << double(a) / p.rate << " s";
        EXPECT_LT(r, whole * 1.4) << "window at " << double(a) / p.rate << " s";
    }
}

TEST_F(SonidoSalida, EffectsSoundTheirPart) {
    std::map<std::string, double> c;
    for (const Moment &m : kEffects) {
        Pcm p = load(m.name);
        c[m.name] = centroid(p, 0.0, double(p.x.size()) / p.rate);
    }
    // The engine is the lowest sound of all and stays a rumble; coins and the chime are bright.
    for (const auto &[name, hz] : c) {
        if (name == "camio1") continue;
        EXPECT_LT(c["camio1"], hz) << name;
    }
    EXPECT_LT(c["camio1"], 500.0);
    EXPECT_GT(c["bolsa"], 1500.0);
    EXPECT_GT(c["gold"], 1500.0);
    EXPECT_LT(c["explocio"], c["bolsa"]);
    EXPECT_LT(c["grumvel"], c["bolsa"]);

    // The start sound revs up; the game-over phrase falls.
    Pcm rev = load("camio2");
    double idle = pitch(rev, 0.1, 0.25), revved = pitch(rev, 1.0, 1.15);
    EXPECT_GT(idle, 0.0);
    EXPECT_LT(idle * 1.5, revved);
    Pcm over = load("gameover");
    double first = pitch(over, 0.05, 0.45), last = pitch(over, 2.4, 3.2);
    EXPECT_GT(last, 0.0);
    EXPECT_GT(first, last * 1.1);
}

TEST_F(SonidoSalida, EveryTuneLoadsAndHasTheRightLength) {
    std::vector<fs::path> songs;
    for (const auto &e : fs::directory_iterator(*dir_ / "midi"))
        songs.push_back(e.path());
    EXPECT_GE(songs.size(), 3u);
    songs.push_back(*dir_ / "datos" / "fox.mid");
    for (const fs::path &p : songs) {
        SCOPED_TRACE(p.filename().string());
        MIDI *m = load_midi(p.string().c_str());
        EXPECT_NE(m, nullptr);
        if (m) destroy_midi(m);
        MidiFile f = midi(p);
        EXPECT_TRUE(f.format == 0 || f.format == 1);
        if (p.filename() == "fox.mid") {
            // It plays over an opening picture shown for 18 seconds.
            EXPECT_GE(f.seconds, 17.5);
            EXPECT_LE(f.seconds, 20.5);
        } else {
            EXPECT_GE(f.seconds, 60.0);
            EXPECT_LE(f.seconds, 180.0);
        }
    }
}

TEST_F(SonidoSalida, TunesUseOnlyLoadablePatches) {
    Patches have = generated_patches(*dir_ / "datos" / "patches.cfg");
    ASSERT_GT(have.programs.size(), 50u);
    ASSERT_GT(have.drums.size(), 30u);
    // Same numbers as the system's timidity list (bank 0, drum set 0), just laid out anew.
    Patches system;
    std::ifstream in(kSystemPatches);
    std::string line;
    std::set<int> *into = nullptr;
    while (std::getline(in, line)) {
        std::istringstream w(line.substr(0, line.find('#')));
        std::string first;
        if (!(w >> first)) continue;
        if (first == "bank" || first == "drumset") {
            int n = -1;
            w >> n;
            into = n != 0 ? nullptr : first == "bank" ? &system.programs : &system.drums;
        } else if (into && std::isdigit(static_cast<unsigned char>(first[0]))) {
            into->insert(std::stoi(first));
        }
    }
    EXPECT_EQ(have.programs, system.programs);
    EXPECT_EQ(have.drums, system.drums);
    std::vector<fs::path> files = {*dir_ / "datos" / "fox.mid"};
    for (const auto &e : fs::directory_iterator(*dir_ / "midi"))
        files.push_back(e.path());
    for (const fs::path &p : files) {
        SCOPED_TRACE(p.filename().string());
        MidiFile f = midi(p);
        std::map<int, std::uint32_t> set_at; // channel -> tick of its first program change
        for (const MidiProgram &pc : f.programs) {
            EXPECT_TRUE(have.programs.count(pc.program)) << "program " << pc.program;
            if (!set_at.count(pc.channel)) set_at[pc.channel] = pc.tick;
        }
        for (const MidiNote &n : f.notes) {
            if (n.channel == 9) {
                EXPECT_TRUE(have.drums.count(n.key)) << "drum note " << n.key;
            } else {
                // A melodic part must pick its instrument before it plays.
                ASSERT_TRUE(set_at.count(n.channel)) << "channel " << n.channel + 1;
                EXPECT_LE(set_at[n.channel], n.tick);
            }
        }
    }
}

TEST_F(SonidoSalida, SongsHaveMelodyBassAndDrumsWithoutGaps) {
    for (const auto &e : fs::directory_iterator(*dir_ / "midi")) {
        SCOPED_TRACE(e.path().filename().string());
        MidiFile f = midi(e.path());
        std::map<int, std::pair<double, int>> pitch; // channel -> sum of keys, count
        for (const MidiNote &n : f.notes) {
            pitch[n.channel].first += n.key;
            ++pitch[n.channel].second;
        }
        EXPECT_TRUE(pitch.count(9)) << "no drums";
        bool melody = false, bass = false;
        for (const auto &[ch, s] : pitch) {
            if (ch == 9) continue;
            double mean = s.first / s.second;
            melody |= mean >= 66.0;
            bass |= mean < 48.0;
        }
        EXPECT_TRUE(melody) << "no part sits in the melody range";
        EXPECT_TRUE(bass) << "no part sits in the bass range";
        // Something starts in every two seconds: the song never drops out.
        double last = 0.0;
        for (const MidiNote &n : f.notes) {
            EXPECT_LT(n.seconds - last, 2.0) << "gap before " << n.seconds << " s";
            last = n.seconds;
        }
        EXPECT_LT(f.seconds - last, 3.0) << "long silence at the end";
    }
}

TEST_F(SonidoSalida, ToolOutputIsTheSameOnEveryRun) {
    fs::path again = generate("b");
    std::size_t files = 0;
    for (const auto &e : fs::recursive_directory_iterator(*dir_)) {
        if (!e.is_regular_file()) continue;
        fs::path twin = again / fs::relative(e.path(), *dir_);
        ASSERT_TRUE(fs::exists(twin)) << twin;
        EXPECT_EQ(bytes_of(e.path()), bytes_of(twin)) << e.path().filename();
        ++files;
    }
    fs::remove_all(again);
    EXPECT_EQ(files, 8u + 1u + 1u + song_sources().size());
}

} // namespace

// Song sources: every note file in data/sonido except the effects and the title tune, sorted.
std::vector<fs::path> song_sources() {
    std::vector<fs::path> songs;
    for (const auto &e : fs::directory_iterator(VZ_SONIDO_DATA)) {
        std::string name = e.path().filename().string();
        if (e.path().extension() == ".txt" && name != "efectos.txt" && name != "fox.txt")
            songs.push_back(e.path());
    }
    std::sort(songs.begin(), songs.end());
    return songs;
}

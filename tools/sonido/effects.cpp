#include "effects.h"
#include "texto.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <istream>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace sonido {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

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

std::pair<double, double> pair_of(const std::string &s, const std::string &file, int line) {
    std::size_t comma = s.find(',');
    if (comma == std::string::npos) fail(file, line, "expected two numbers 'A,B', got '" + s + "'");
    return {to_double(s.substr(0, comma), file, line), to_double(s.substr(comma + 1), file, line)};
}

Wave wave_of(const std::string &s, const std::string &file, int line) {
    if (s == "sine") return Wave::Sine;
    if (s == "square") return Wave::Square;
    if (s == "triangle") return Wave::Triangle;
    if (s == "saw") return Wave::Saw;
    if (s == "noise") return Wave::Noise;
    fail(file, line, "unknown wave '" + s + "'");
}

void check_loop_layer(const Effect &e, const Layer &l, const std::string &file, int line) {
    if (l.start != 0.0 || std::abs(l.length - e.length) > 1e-9)
        fail(file, line, "a looping layer must start at 0 and last the whole effect");
    if ((!l.freq.empty() && !l.freq.constant()) || (!l.cutoff.empty() && !l.cutoff.constant()))
        fail(file, line, "a looping layer cannot sweep");
    if (l.explicit_envelope || l.vib_depth != 0.0)
        fail(file, line, "a looping layer has no envelope or vibrato");
}

Layer parse_layer(std::istringstream &words, const std::string &wave, const std::string &file,
                  int line) {
    Layer l;
    l.wave = wave_of(wave, file, line);
    std::string start, length, amp;
    if (!(words >> start >> length >> amp)) fail(file, line, "a layer needs START LENGTH AMP");
    l.start = to_double(start, file, line);
    l.length = to_double(length, file, line);
    l.amp = to_double(amp, file, line);
    if (l.start < 0.0 || l.length <= 0.0) fail(file, line, "bad start or length");
    std::string kv;
    while (words >> kv) {
        std::size_t eq = kv.find('=');
        if (eq == std::string::npos) fail(file, line, "expected key=value, got '" + kv + "'");
        std::string key = kv.substr(0, eq);
        std::string value = kv.substr(eq + 1);
        try {
            if (key == "f") {
                l.freq = Curve::parse(value);
            } else if (key == "attack" || key == "decay" || key == "release") {
                double v = to_double(value, file, line);
                if (v < 0.0) fail(file, line, key + " cannot be negative");
                (key == "attack" ? l.attack : key == "decay" ? l.decay : l.release) = v;
                l.explicit_envelope = true;
            } else if (key == "duty") {
                l.duty = to_double(value, file, line);
                if (l.duty <= 0.0 || l.duty >= 1.0)
                    fail(file, line, "duty must lie between 0 and 1");
            } else if (key == "vib") {
                std::tie(l.vib_rate, l.vib_depth) = pair_of(value, file, line);
            } else if (key == "trem") {
                std::tie(l.trem_rate, l.trem_depth) = pair_of(value, file, line);
                if (l.trem_depth < 0.0 || l.trem_depth > 1.0)
                    fail(file, line, "tremolo depth must lie between 0 and 1");
            } else if (key == "lp" || key == "hp" || key == "bp") {
                if (l.filter != Filter::None) fail(file, line, "one filter per layer");
                l.filter = key == "lp"   ? Filter::LowPass
                           : key == "hp" ? Filter::HighPass
                                         : Filter::BandPass;
                l.cutoff = Curve::parse(value);
            } else if (key == "q") {
                l.q = to_double(value, file, line);
                if (l.q <= 0.0) fail(file, line, "q must be positive");
            } else if (key == "seed") {
                l.seed = static_cast<std::uint32_t>(to_double(value, file, line));
            } else {
                fail(file, line, "unknown key '" + key + "'");
            }
        } catch (const std::runtime_error &e) {
            std::string what = e.what();
            if (what.rfind(file + ":", 0) == 0) throw;
            fail(file, line, what);
        }
    }
    if (l.wave != Wave::Noise && l.freq.empty()) fail(file, line, "an oscillator needs f=");
    if (l.seed == 0) l.seed = 1;
    return l;
}

// Topology-preserving state-variable filter: stays stable while its cutoff sweeps.
class Svf {
  public:
    Svf(Filter type, double q) : type_(type), k_(1.0 / q) {}
    double step(double x, double cutoff, int rate) {
        double fc = std::min(cutoff, 0.45 * rate);
        double g = std::tan(std::numbers::pi * fc / rate);
        double a1 = 1.0 / (1.0 + g * (g + k_));
        double v3 = x - ic2_;
        double v1 = a1 * ic1_ + g * a1 * v3;
        double v2 = ic2_ + g * v1;
        ic1_ = 2.0 * v1 - ic1_;
        ic2_ = 2.0 * v2 - ic2_;
        switch (type_) {
        case Filter::LowPass:
            return v2;
        case Filter::BandPass:
            return v1;
        case Filter::HighPass:
            return x - k_ * v1 - v2;
        case Filter::None:
            break;
        }
        return x;
    }

  private:
    Filter type_;
    double k_;
    double ic1_ = 0.0, ic2_ = 0.0;
};

// xorshift32: the same noise on every machine and every run.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : s_(seed) {}
    double next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return double(s_) / 2147483647.5 - 1.0;
    }

  private:
    std::uint32_t s_;
};

// Polynomial band-limited step: rounds off the jumps of square and saw waves so that their
// upper harmonics do not fold back as inharmonic whistles.
double blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// One sample of a wave at `phase` (0..1), advancing `dt` cycles per sample.
double oscillator(Wave w, double phase, double dt, double duty) {
    dt = std::min(dt, 0.5);
    switch (w) {
    case Wave::Sine:
        return std::sin(kTwoPi * phase);
    case Wave::Square: {
        double fall = phase + 1.0 - duty;
        fall -= std::floor(fall);
        return (phase < duty ? 1.0 : -1.0) + blep(phase, dt) - blep(fall, dt);
    }
    case Wave::Triangle:
        return 4.0 * std::abs(phase - 0.5) - 1.0;
    case Wave::Saw:
        return 2.0 * phase - 1.0 - blep(phase, dt);
    case Wave::Noise:
        break;
    }
    return 0.0;
}

double tremolo(const Layer &l, double t) {
    if (l.trem_depth == 0.0) return 1.0;
    return 1.0 - l.trem_depth * 0.5 * (1.0 - std::cos(kTwoPi * l.trem_rate * t));
}

void add_one_shot(const Layer &l, int rate, std::vector<double> &out) {
    std::size_t first = std::size_t(std::lround(l.start * rate));
    std::size_t count = std::size_t(std::lround(l.length * rate));
    Svf filter(l.filter, l.q);
    Noise noise(l.seed);
    double phase = 0.0;
    double held = noise.next();
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        double t = double(i) / rate;
        double f = double(i) / double(count);
        double v;
        if (l.wave == Wave::Noise) {
            if (l.freq.empty()) {
                held = noise.next();
            } else {
                phase += l.freq.at(f) / rate;
                if (phase >= 1.0) {
                    phase -= std::floor(phase);
                    held = noise.next();
                }
            }
            v = held;
        } else {
            double hz = l.freq.at(f);
            if (l.vib_depth != 0.0)
                hz *= std::pow(2.0, l.vib_depth / 12.0 * std::sin(kTwoPi * l.vib_rate * t));
            v = oscillator(l.wave, phase, hz / rate, l.duty);
            phase += hz / rate;
            phase -= std::floor(phase);
        }
        if (l.filter != Filter::None) v = filter.step(v, l.cutoff.at(f), rate);
        double env = l.attack > 0.0 && t < l.attack ? t / l.attack : 1.0;
        if (l.decay > 0.0 && t > l.attack) env *= std::exp(-(t - l.attack) / l.decay);
        double left = l.length - t;
        if (l.release > 0.0 && left < l.release) env *= std::max(0.0, left / l.release);
        out[first + i] += l.amp * env * tremolo(l, t) * v;
    }
}

// Whole cycles of a rate in one loop of `count` samples (at least one).
std::int64_t cycles(double hz, std::size_t count, int rate) {
    return std::max<std::int64_t>(1, std::llround(hz * double(count) / rate));
}

void add_loop(const Layer &l, int rate, std::vector<double> &out) {
    std::size_t n = out.size();
    std::vector<double> raw(n);
    Noise noise(l.seed);
    if (l.wave == Wave::Noise) {
        // A table of held values that wraps exactly at the loop's end.
        std::size_t holds = l.freq.empty() ? n : std::size_t(cycles(l.freq.first(), n, rate));
        std::vector<double> table(holds);
        for (double &v : table)
            v = noise.next();
        for (std::size_t i = 0; i < n; ++i)
            raw[i] = table[i * holds / n];
    } else {
        std::int64_t c = cycles(l.freq.first(), n, rate);
        for (std::size_t i = 0; i < n; ++i)
            raw[i] = oscillator(l.wave, double((std::int64_t(i) * c) % std::int64_t(n)) / double(n),
                                double(c) / double(n), l.duty);
    }
    std::int64_t trem = l.trem_depth == 0.0 ? 0 : cycles(l.trem_rate, n, rate);
    Svf filter(l.filter, l.q);
    // Two passes through the filter: the second starts from the state the loop's end leaves,
    // which is what the filter would hold when the loop comes round.
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            double v = raw[i];
            if (l.filter != Filter::None) v = filter.step(v, l.cutoff.first(), rate);
            if (pass == 0) continue;
            double g = 1.0;
            if (trem != 0)
                g = 1.0 - l.trem_depth * 0.5 *
                              (1.0 - std::cos(kTwoPi *
                                              double((std::int64_t(i) * trem) % std::int64_t(n)) /
                                              double(n)));
            out[i] += l.amp * g * v;
        }
    }
}

} // namespace

std::vector<Effect> parse_effects(std::istream &in, const std::string &file) {
    std::vector<Effect> effects;
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        text = strip_comment(text);
        std::istringstream words(text);
        std::string first;
        if (!(words >> first)) continue;
        if (first == "effect") {
            Effect e;
            std::string length;
            if (!(words >> e.name >> length)) fail(file, line, "effect needs NAME SECONDS");
            e.length = to_double(length, file, line);
            if (e.length <= 0.0) fail(file, line, "effect length must be positive");
            for (const Effect &other : effects)
                if (other.name == e.name) fail(file, line, "effect '" + e.name + "' defined twice");
            std::string opt;
            while (words >> opt) {
                if (opt == "loop")
                    e.loop = true;
                else if (opt.rfind("peak=", 0) == 0)
                    e.peak = to_double(opt.substr(5), file, line);
                else
                    fail(file, line, "unknown effect option '" + opt + "'");
            }
            if (e.peak <= 0.0 || e.peak >= 1.0) fail(file, line, "peak must lie between 0 and 1");
            effects.push_back(e);
            continue;
        }
        if (effects.empty()) fail(file, line, "a layer before any effect");
        Effect &e = effects.back();
        Layer l = parse_layer(words, first, file, line);
        if (e.loop)
            check_loop_layer(e, l, file, line);
        else if (l.start + l.length > e.length + 1e-9)
            fail(file, line, "layer runs past the end of the effect");
        e.layers.push_back(l);
    }
    for (const Effect &e : effects)
        if (e.layers.empty())
            throw std::runtime_error(file + ": effect '" + e.name + "' has no layers");
    return effects;
}

std::vector<std::int16_t> render(const Effect &effect, int rate) {
    std::vector<double> mix(std::size_t(std::lround(effect.length * rate)), 0.0);
    for (const Layer &l : effect.layers) {
        if (effect.loop)
            add_loop(l, rate, mix);
        else
            add_one_shot(l, rate, mix);
    }
    if (effect.loop) {
        // Periodic, so removing the mean removes the DC without touching the seam.
        double mean = 0.0;
        for (double v : mix)
            mean += v;
        mean /= double(mix.size());
        for (double &v : mix)
            v -= mean;
    } else {
        // DC blocker, then fades so that the sound starts and stops at zero.
        double x1 = 0.0, y1 = 0.0;
        const double r = 1.0 - kTwoPi * 15.0 / rate;
        for (double &v : mix) {
            double y = v - x1 + r * y1;
            x1 = v;
            y1 = y;
            v = y;
        }
        std::size_t in = std::size_t(0.002 * rate), out = std::size_t(0.010 * rate);
        for (std::size_t i = 0; i < mix.size(); ++i) {
            double g = 1.0;
            if (i < in) g = double(i) / double(in);
            std::size_t left = mix.size() - 1 - i;
            if (left < out) g = std::min(g, double(left) / double(out));
            mix[i] *= g;
        }
    }
    double top = 0.0;
    for (double v : mix)
        top = std::max(top, std::abs(v));
    double scale = top > 0.0 ? effect.peak * 32767.0 / top : 0.0;
    std::vector<std::int16_t> pcm(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::lround(mix[i] * scale));
    return pcm;
}

} // namespace sonido

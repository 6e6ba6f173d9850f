// Sound effects described as layers of simple oscillators and noise, rendered to 16-bit PCM.
//
// Text form, one effect per block ('#' at the start of a word begins a comment):
//   effect NAME SECONDS [loop] [peak=P]
//   WAVE START LENGTH AMP [key=value ...]     one layer per line
// WAVE is sine, square, triangle, saw or noise. Keys:
//   f=CURVE      pitch in Hz; for noise, the sample-and-hold rate (absent: new value each sample)
//   attack=S     linear attack (default 0.002 s)
//   decay=S      exponential decay time constant (default: none, the layer holds its level)
//   release=S    linear fade at the layer's end (default 0.005 s)
//   duty=D       square wave duty cycle (default 0.5)
//   vib=HZ,SEMI  vibrato
//   trem=HZ,D    tremolo, depth 0..1
//   lp=CURVE, hp=CURVE or bp=CURVE: a two-pole low-, high- or band-pass filter, cutoff in Hz
//   q=Q          filter resonance (default 0.707)
//   seed=N       noise seed (default 1)
// A looping effect repeats seamlessly: each of its layers lasts the whole effect, holds still
// (no sweeps, envelopes or vibrato) and has its rates rounded to whole cycles per loop.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "curve.h"

namespace sonido {

enum class Wave { Sine, Square, Triangle, Saw, Noise };
enum class Filter { None, LowPass, HighPass, BandPass };

struct Layer {
    Wave wave = Wave::Sine;
    double start = 0.0;
    double length = 0.0;
    double amp = 0.0;
    Curve freq;
    double attack = 0.002;
    double decay = 0.0;
    double release = 0.005;
    double duty = 0.5;
    double vib_rate = 0.0;
    double vib_depth = 0.0;
    double trem_rate = 0.0;
    double trem_depth = 0.0;
    Filter filter = Filter::None;
    Curve cutoff;
    double q = 0.707;
    std::uint32_t seed = 1;
    bool explicit_envelope = false; // attack, decay or release given in the text
};

struct Effect {
    std::string name;
    double length = 0.0;
    bool loop = false;
    double peak = 0.8; // the loudest sample, as a fraction of full scale
    std::vector<Layer> layers;
};

// Throws std::runtime_error("FILE:LINE: ...") on any mistake in the text.
std::vector<Effect> parse_effects(std::istream &in, const std::string &file);

// Renders at the given sample rate, normalised to the effect's peak, DC-free, with short fades
// on one-shots so that they start and end at silence.
std::vector<std::int16_t> render(const Effect &effect, int rate);

} // namespace sonido

// An independent Standard MIDI File reader for the tests: notes, programs and the length in
// seconds (Allegro's own length function needs the timer, which the tests do not install).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MidiNote {
    double seconds;
    std::uint32_t tick;
    std::uint32_t length; // ticks until its note-off
    int channel;          // 0-based
    int key;
    int velocity;
};

struct MidiProgram {
    std::uint32_t tick;
    int channel;
    int program;
};

struct MidiFile {
    int format = -1;
    int ppq = 0;
    std::vector<MidiNote> notes; // sorted by tick
    std::vector<MidiProgram> programs;
    double seconds = 0.0; // up to the last end-of-track
};

// Throws std::runtime_error on a malformed file.
MidiFile read_midi(const std::vector<std::uint8_t> &bytes);

// Songs written as text, one line per bar, compiled to Standard MIDI Files (format 1).
//
//   tempo BPM                     meter BEATS/UNIT (default 4/4)
//   track NAME channel=C [program=P] [volume=V] [pan=P] [velocity=V] [legato=L]
//   section NAME [tempo=BPM]      starts a section; each following line is one bar:
//   TRACK [xN] TOKEN ...          a bar of TRACK, repeated N times
//   order NAME NAME ...           the sections in play order (may span several lines)
// A token is PITCHES[/DURATION][!|?]: PITCHES is "r" (rest), a note such as c4, f#3, bb2 (c4 is
// MIDI 60), or several joined by commas for a chord; on channel 10 it is a drum name (see
// drum_names) or nNN. DURATION is a note value (4 a quarter, 8 an eighth, 12 an eighth triplet),
// optionally dotted, and values add up with '+': 2+8. A token without a duration reuses the one
// before it on the same line. '!' accents a note, '?' plays it softly; TOKEN*N repeats a token
// N times. Every bar must fill the meter exactly; a track left out of a section rests through it.
// '#' at the start of a word begins a comment.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace sonido {

struct Note {
    std::uint32_t tick = 0;
    std::uint32_t length = 0;
    std::uint8_t key = 0;
    std::uint8_t velocity = 0;
};

struct Track {
    std::string name;
    int channel = 0;  // 0-based; 9 is the drum channel
    int program = -1; // -1 on the drum channel
    int volume = 100;
    int pan = 64;
    int velocity = 96;
    double legato = 0.9;
    std::vector<Note> notes;
};

struct TempoChange {
    std::uint32_t tick = 0;
    double bpm = 120.0;
};

struct Song {
    int ppq = 480;
    int beats = 4;
    int unit = 4;
    std::vector<TempoChange> tempos;
    std::vector<Track> tracks;
    std::uint32_t end = 0; // tick where the song ends
};

// Drum names usable on channel 10, mapped to General MIDI key numbers.
const std::map<std::string, int> &drum_names();

// Throws std::runtime_error("FILE:LINE: ...") on any mistake in the text.
Song parse_song(std::istream &in, const std::string &file);

double song_seconds(const Song &song);

// A format 1 file: a tempo track, then one track per part. With `solo` set, only that part.
std::vector<std::uint8_t> smf_bytes(const Song &song, const std::string &solo = "");

} // namespace sonido

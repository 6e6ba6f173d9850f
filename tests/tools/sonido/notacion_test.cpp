// The text notations behind the sounds and songs: what they accept, what they refuse, and that
// the MIDI written from a song reads back as the notes that were written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include <sstream>
#include <stdexcept>
#include <string>

#include "curve.h"
#include "effects.h"
#include "lector_midi.h"
#include "patches.h"
#include "song.h"

using namespace sonido;

namespace {

Song song(const std::string &text) {
    std::istringstream in(text);
    return parse_song(in, "t.txt");
}

std::string error_of(const std::string &text) {
    try {
        song(text);
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return "";
}

std::vector<Effect> effects(const std::string &text) {
    std::istringstream in(text);
    return parse_effects(in, "e.txt");
}

const std::string kHead = "tempo 120\n"
                          "track m channel=1 program=80\n"
                          "track d channel=10\n";

} // namespace

TEST(SonidoCurva, GlidesBetweenPointsAndPinsThemWhereAsked) {
    Curve c = Curve::parse("40>160@0.5>80");
    EXPECT_DOUBLE_EQ(c.at(0.0), 40.0);
    EXPECT_DOUBLE_EQ(c.at(0.5), 160.0);
    EXPECT_DOUBLE_EQ(c.at(1.0), 80.0);
    EXPECT_NEAR(c.at(0.25), 80.0, 1e-9); // exponential: halfway up is the geometric mean
    EXPECT_TRUE(Curve::parse("440").constant());
    EXPECT_DOUBLE_EQ(Curve::parse("440").at(0.7), 440.0);
    for (const char *bad : {"", "x", "40>", "40>-3", "40>50@0.8>60@0.2", "0"})
        EXPECT_THROW(Curve::parse(bad), std::runtime_error) << bad;
}

TEST(SonidoEfectos, RefuseWhatWouldBreakALoopOrRunPastTheEnd) {
    EXPECT_NO_THROW(effects("effect a 1 loop\nsaw 0 1 1 f=50 lp=300 trem=2,0.2\n"));
    EXPECT_THROW(effects("effect a 1 loop\nsaw 0 1 1 f=50>80\n"), std::runtime_error);
    EXPECT_THROW(effects("effect a 1 loop\nsaw 0 0.5 1 f=50\n"), std::runtime_error);
    EXPECT_THROW(effects("effect a 1 loop\nsaw 0 1 1 f=50 decay=0.2\n"), std::runtime_error);
    EXPECT_THROW(effects("effect a 1\nsine 0.5 0.6 1 f=50\n"), std::runtime_error);
    EXPECT_THROW(effects("effect a 1\nsine 0 1 1\n"), std::runtime_error); // no pitch
    EXPECT_THROW(effects("effect a 1\nwhoosh 0 1 1 f=5\n"), std::runtime_error);
    EXPECT_THROW(effects("effect a 1\nsine 0 1 1 f=5 colour=red\n"), std::runtime_error);
    EXPECT_THROW(effects("effect a 1\n"), std::runtime_error); // no layers
    try {
        effects("effect a 1\n\n# note\nsine 0 1 1 f=50\nsine 0 2 1 f=50\n");
        FAIL() << "accepted a layer past the end";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find("e.txt:5:"), std::string::npos) << e.what();
    }
}

TEST(SonidoEfectos, LoopRoundsRatesToWholeCyclesSoTheSeamVanishes) {
    // 37.3 Hz makes 18.65 cycles in 0.5 s; rounded to 19 (38 Hz) the loop's last sample sits
    // one step before its first, as if the wave ran on.
    Effect e = effects("effect a 0.5 loop peak=0.5\nsine 0 0.5 1 f=37.3\n")[0];
    auto pcm = render(e, 22050);
    ASSERT_EQ(pcm.size(), 11025u);
    double step = std::sin(2.0 * std::numbers::pi * 38.0 / 22050.0) * 0.5 * 32767.0;
    EXPECT_NEAR(pcm.front(), 0, 1);
    EXPECT_NEAR(pcm.back(), -step, 2);
    int top = 0;
    for (auto v : pcm)
        top = std::max(top, std::abs(int(v)));
    EXPECT_NEAR(top, 0.5 * 32767, 2);
}

TEST(SonidoPartitura, PlacesNotesChordsRepeatsAndAccents) {
    Song s = song(kHead + "section a\n"
                          "m c4/4 d4 e4,g4/8. f4/16 g4/4!\n"
                          "m x2 a4/2+4 r/4\n"
                          "d k/8*8\n"
                          "d x2 s/1?\n"
                          "order a\n");
    ASSERT_EQ(s.tracks.size(), 2u);
    const auto &m = s.tracks[0].notes;
    ASSERT_EQ(m.size(), 8u);
    EXPECT_EQ(m[0].tick, 0u);
    EXPECT_EQ(m[0].key, 60);
    EXPECT_EQ(m[1].tick, 480u); // the duration carries over
    EXPECT_EQ(m[2].tick, 960u);
    EXPECT_EQ(m[3].tick, 960u); // chord
    EXPECT_EQ(m[3].key, 67);
    EXPECT_EQ(m[4].tick, 960u + 360u); // after a dotted eighth
    EXPECT_EQ(m[5].tick, 1440u);
    EXPECT_GT(m[5].velocity, m[0].velocity);
    EXPECT_EQ(m[6].tick, 1920u);
    EXPECT_EQ(m[6].length, std::uint32_t(1440 * 0.9)); // half + quarter, legato
    EXPECT_EQ(m[7].tick, 3840u);                       // the bar repeated
    const auto &d = s.tracks[1].notes;
    ASSERT_EQ(d.size(), 10u); // 8 kicks, then 2 soft snares in the section's other bars
    EXPECT_EQ(d[7].tick, 7u * 240u);
    EXPECT_EQ(d[8].key, 38);
    EXPECT_LT(d[8].velocity, d[0].velocity);
    EXPECT_EQ(s.end, 3u * 1920u);
    EXPECT_NEAR(song_seconds(s), 6.0, 1e-9);
}

TEST(SonidoPartitura, RefusesBadBarsNamesAndSections) {
    EXPECT_NE(error_of(kHead + "section a\nm c4/4 d4 e4\norder a\n").find("t.txt:5:"),
              std::string::npos);                                              // bar too short
    EXPECT_NE(error_of(kHead + "section a\nm c4/2 d4 e4\norder a\n"), "");     // too long
    EXPECT_NE(error_of(kHead + "section a\nd zz/1\norder a\n"), "");           // unknown drum
    EXPECT_NE(error_of(kHead + "section a\nm h4/1\norder a\n"), "");           // unknown note
    EXPECT_NE(error_of(kHead + "section a\nm c4/7 r/7*6\norder a\n"), "");     // no such value
    EXPECT_NE(error_of(kHead + "section a\nm c4 r/2.\norder a\n"), "");        // no first value
    EXPECT_NE(error_of(kHead + "section a\nm c4/1\norder b\n"), "");           // unknown section
    EXPECT_NE(error_of(kHead + "section a\nm x2 c4/1\nd k/1\norder a\n"), ""); // uneven
    EXPECT_NE(error_of(kHead + "section a\nq c4/1\norder a\n"), "");           // unknown track
    EXPECT_NE(error_of("tempo 120\ntrack m channel=1\n"), "");                 // no program
    EXPECT_NE(error_of("tempo 120\ntrack d channel=10 program=3\n"), "");      // drums take none
    EXPECT_NE(error_of(kHead + "section a\nm c4/1\n"), "");                    // no order
    EXPECT_EQ(error_of(kHead + "section a\nm f#4/1 # comment\norder a\n"), "");
}

TEST(SonidoPartitura, WritesAMidiFileThatReadsBackNoteForNote) {
    Song s = song("tempo 100\nmeter 3/4\n"
                  "track m channel=2 program=56 legato=0.5\n"
                  "track d channel=10\n"
                  "section a\nm bb3/4 c#5 r\nd k,h/4*3\n"
                  "section b tempo=50\nm g2/2.\n"
                  "order a b a\n");
    MidiFile f = read_midi(smf_bytes(s));
    EXPECT_EQ(f.format, 1);
    EXPECT_EQ(f.ppq, s.ppq);
    ASSERT_EQ(f.programs.size(), 1u);
    EXPECT_EQ(f.programs[0].channel, 1);
    EXPECT_EQ(f.programs[0].program, 56);
    std::size_t count = 0;
    for (const Track &t : s.tracks)
        count += t.notes.size();
    ASSERT_EQ(f.notes.size(), count);
    // A bar of three quarters lasts 1.8 s at 100 beats a minute and 3.6 s at 50.
    EXPECT_NEAR(f.seconds, 1.8 + 3.6 + 1.8, 1e-6);
    EXPECT_NEAR(f.seconds, song_seconds(s), 1e-6);
    for (const MidiNote &n : f.notes) {
        const Track &t = n.channel == 9 ? s.tracks[1] : s.tracks[0];
        bool found = false;
        for (const Note &w : t.notes)
            found |= w.tick == n.tick && w.key == n.key && w.length == n.length &&
                     w.velocity == n.velocity;
        EXPECT_TRUE(found) << "note " << n.key << " at " << n.tick;
    }
    // A solo keeps only that part.
    MidiFile solo = read_midi(smf_bytes(s, "d"));
    for (const MidiNote &n : solo.notes)
        EXPECT_EQ(n.channel, 9);
    EXPECT_THROW(smf_bytes(s, "nobody"), std::runtime_error);
}

TEST(SonidoParches, NumbersProgramsFromOneAndBlocksTheDrumKit) {
    std::istringstream in("# header\ndir /p\n\ndrumset 0\n 35\tD/k.pat amp=100\n"
                          "bank 0\n 0\tT/a.pat amp=120 pan=center\n 5 /abs/b.pat\n"
                          "bank 1\n 5 T/other.pat\n");
    EXPECT_EQ(allegro_patch_list(in, "x.cfg"), "# Written by vz_sonido from x.cfg\n"
                                               "1 /p/T/a.pat\n6 /abs/b.pat\n"
                                               "129 begin_multipatch\n35 /p/D/k.pat\n"
                                               "end_multipatch\n");
    std::istringstream orphan("dir /p\n 3 a.pat\n");
    EXPECT_THROW(allegro_patch_list(orphan, "x.cfg"), std::runtime_error);
}

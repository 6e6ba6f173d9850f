// The MP3 layer's sound ring against a late timer. The stream's voice is held still and moved by
// hand a timer turn (250 ms) at a time, so the test needs no clock; every third turn comes after a
// skipped one. Run through con_sonido.sh, which gives Allegro a sound device.
#include "allegro_vz.h"
#include "music/almp3.h"
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

TEST(Anillo, ASkippedTimerTurnReplaysNoStaleSoundAndMusicRunningShortIsCounted) {
    // Once a process: a second start of the library over the first one crashes (--gtest_repeat).
    static const bool listo = install_allegro(SYSTEM_AUTODETECT, &errno, atexit) == 0 &&
                              install_timer() == 0;
    ASSERT_TRUE(listo) << allegro_error;
    ASSERT_EQ(install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr), 0) << allegro_error;
    // Ten seconds of 44.1 kHz stereo, where the game's own buffer length makes the shortest halves.
    std::ifstream in(VZ_FUENTES_DIR "/tests/fuzz/corpus/mp3/estereo44k.mp3", std::ios::binary);
    const std::string tono((std::istreambuf_iterator<char>(in)), {});
    std::string cancion;
    for (int i = 0; i < 66; i++)
        cancion += tono;
    // Handed over whole: no fill comes late. Then with more said to follow, which never comes:
    // the fills that run short of music before the song's end are counted.
    for (const bool corta : {false, true}) {
        ALMP3_MP3STREAM *s = almp3_create_mp3stream(cancion.data(), int(cancion.size()), -!corta);
        ASSERT_EQ(almp3_play_mp3stream(s, 65536, 255, 128), 0);
        int voz = 0;
        while (voz < 256 && voice_check(voz) == nullptr)
            voz++;
        ASSERT_LT(voz, 256);
        const int turno = voice_get_frequency(voz) / 4;
        voice_set_frequency(voz, 1); // all but still: positions move only by hand
        const long anillo = voice_check(voz)->len;
        long pos = voice_get_position(voz);
        for (int t = 1; t <= (corta ? 120 : 30); t++) {
            pos += (t % 3 == 0 ? 2 : 1) * turno;
            voice_set_position(voz, static_cast<int>(pos % anillo));
            ASSERT_EQ(almp3_poll_mp3stream(s), 0) << "turn " << t;
        }
        EXPECT_EQ(almp3_late_refills(s) > 0, corta);
        almp3_destroy_mp3stream(s);
    }
}

// MP3 stream layer tests, on sine tones encoded with lame while the tests run. Without
// VZ_CAPTURA there is no sound driver; with it (con_sonido.sh) Allegro plays through ALSA
// into that file, which the Almp3Sound test measures.
#include "music/almp3.h"
#include "allegro_vz.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kBlock = 32768, kAudioBuffer = 65536;
fs::path work_dir;
bool sound_installed = false;

struct Tone {
    int rate, channels;
    double seconds, freq;
};

Bytes pcm_tone(const Tone &t) { // signed 16-bit little-endian
    Bytes b;
    for (long i = 0; i < std::lround(t.seconds * t.rate); i++) {
        auto v =
            static_cast<uint16_t>(std::lround(12000 * std::sin(2 * M_PI * t.freq * i / t.rate)));
        for (int c = 0; c < 2 * t.channels; c++)
            b.push_back(static_cast<unsigned char>(v >> (c % 2 * 8)));
    }
    return b;
}

Bytes read_file(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes encode(const Tone &t, const std::string &opts) {
    static int n = 0;
    fs::path wav = work_dir / (std::to_string(n) + ".wav");
    fs::path mp3 = work_dir / (std::to_string(n++) + ".mp3");
    Bytes pcm = pcm_tone(t), head;
    auto put = [&head](const char *tag, unsigned v, int bytes) {
        head.insert(head.end(), tag, tag + std::strlen(tag));
        for (int i = 0; i < bytes; i++)
            head.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    unsigned size = static_cast<unsigned>(pcm.size()), align = 2 * t.channels;
    put("RIFF", 36 + size, 4), put("WAVEfmt ", 16, 4), put("", 1, 2), put("", t.channels, 2);
    put("", t.rate, 4), put("", t.rate * align, 4), put("", align, 2), put("", 16, 2);
    put("data", size, 4);
    head.insert(head.end(), pcm.begin(), pcm.end());
    std::ofstream(wav, std::ios::binary).write(reinterpret_cast<char *>(head.data()), head.size());
    std::string cmd =
        std::string(ALMP3_LAME) + " --quiet " + opts + " " + wav.string() + " " + mp3.string();
    return std::system(cmd.c_str()) == 0 ? read_file(mp3) : Bytes{};
}

Bytes garbage(unsigned seed, size_t n) {
    std::mt19937 gen(seed);
    Bytes b(n);
    for (auto &c : b)
        c = static_cast<unsigned char>(gen() >> 24);
    return b;
}

Bytes after_id3_tag(int size, const Bytes &rest) { // a tag of padding, which players skip
    Bytes b = {'I', 'D', '3', 3, 0, 0};
    for (int shift : {21, 14, 7, 0})
        b.push_back(static_cast<unsigned char>((size >> shift) & 0x7f));
    b.resize(10 + static_cast<size_t>(size), 0);
    b.insert(b.end(), rest.begin(), rest.end());
    return b;
}

ALMP3_MP3STREAM *create_from(Bytes b, int last) {
    return almp3_create_mp3stream(b.data(), static_cast<int>(b.size()), last);
}

// Drives a song as the music code does: the first block at creation, then before every poll at
// most one block through get_buffer/free_buffer.
struct Song {
    Bytes file, first; // `first`: the caller's buffer for the first block
    size_t pos;
    ALMP3_MP3STREAM *stream;
    int blocks_fed = 0, last_count = -2; // the count given with the last block, -2 before it
    bool late_buffer = false;            // a buffer offered after the last block

    explicit Song(Bytes f) : file(std::move(f)) {
        pos = std::min<size_t>(file.size(), kBlock);
        first.assign(file.begin(), file.begin() + static_cast<long>(pos));
        stream = almp3_create_mp3stream(first.data(), static_cast<int>(pos), pos < kBlock ? -1 : 0);
        if (pos < kBlock) last_count = static_cast<int>(pos);
    }
    ~Song() { almp3_destroy_mp3stream(stream); }

    int poll() {
        if (void *buf = almp3_get_mp3stream_buffer(stream)) {
            late_buffer |= last_count != -2;
            size_t n = std::min<size_t>(file.size() - pos, kBlock);
            std::memcpy(buf, file.data() + pos, n);
            pos += n;
            blocks_fed++;
            if (n < kBlock) last_count = static_cast<int>(n);
            almp3_free_mp3stream_buffer(stream, n < kBlock ? static_cast<int>(n) : -1);
        }
        return almp3_poll_mp3stream(stream);
    }

    // Seconds from play to the first non-zero poll, or -1 when it has not ended by `timeout`.
    double play_to_end(int poll_ms, double timeout, int vol = 255, int speed = 1000) {
        Clock::time_point start = Clock::now();
        play_result = almp3_play_mp3stream(stream, kAudioBuffer, 255, 128);
        if (vol != 255 || speed != 1000) almp3_adjust_mp3stream(stream, vol, 128, speed);
        for (;;) {
            double t = std::chrono::duration<double>(Clock::now() - start).count();
            if (poll() != 0) return t;
            if (t > timeout) return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(poll_ms));
        }
    }
    int play_result = 0;
};

TEST(Almp3Create, RefusesDataThatIsNotMp3) {
    Bytes mp3 = encode({44100, 2, 1.0, 440}, "-b 128");
    ASSERT_GT(mp3.size(), 4000u);
    EXPECT_EQ(almp3_create_mp3stream(nullptr, 100, -1), nullptr);
    EXPECT_EQ(almp3_create_mp3stream(mp3.data(), 0, -1), nullptr) << "empty block";
    EXPECT_EQ(create_from(garbage(1, kBlock), 0), nullptr) << "random block";
    Bytes pcm = pcm_tone({44100, 2, 1.0, 440});
    EXPECT_EQ(create_from(Bytes(pcm.begin(), pcm.begin() + kBlock), 0), nullptr) << "raw PCM";
    EXPECT_EQ(create_from(after_id3_tag(200, garbage(9, 4000)), -1), nullptr) << "a tag, no frame";

    ALMP3_MP3STREAM *whole = create_from(mp3, -1),
                    *head = create_from(Bytes(&mp3[0], &mp3[3000]), 0);
    EXPECT_NE(whole, nullptr) << "a whole short MP3";
    EXPECT_NE(head, nullptr) << "the head of an MP3, more to come";
    almp3_destroy_mp3stream(whole);
    almp3_destroy_mp3stream(head);
}

// Without a sound driver the song is decoded against the clock and ends at its length.
TEST(Almp3Silent, SongsEndAtTheirLength) {
    Bytes cut = encode({44100, 2, 2.0, 440}, "-b 320 --cbr");
    cut.resize(kBlock); // exactly one block, cut mid-frame: 0.82 s less tag frame and cut frame
    struct Case {
        const char *what;
        Bytes file;
        int poll_ms, speed;
        double seconds;
    } cases[] = {
        {"short file handed over whole", encode({44100, 2, 1.0, 440}, "-b 128"), 50, 1000, 1.0},
        {"fed block by block at the game's rate", encode({44100, 2, 3.0, 440}, "-b 320 --cbr"), 250,
         1000, 3.0},
        {"file of exactly one block", cut, 50, 1000, 0.8},
        {"mono at 22050 Hz", encode({22050, 1, 2.0, 440}, "-b 160"), 50, 1000, 2.0},
        {"speed 2000", encode({44100, 2, 2.0, 440}, "-b 128"), 50, 2000, 1.0},
        {"tag longer than a block", after_id3_tag(40000, encode({44100, 2, 1.0, 440}, "-b 128")),
         50, 1000, 1.0},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.what);
        Song song(c.file);
        ASSERT_NE(song.stream, nullptr);
        std::fill(song.first.begin(), song.first.end(), 0); // the stream keeps its own copy
        double t = song.play_to_end(c.poll_ms, c.seconds + 3, 255, c.speed);
        std::printf("%s: ended after %.3f s of %.2f\n", c.what, t, c.seconds);
        EXPECT_NE(song.play_result, 0) << "no driver: play says so";
        EXPECT_GT(t, c.seconds - 0.1);
        EXPECT_LT(t, c.seconds + c.poll_ms / 1000.0 + 0.3);
        EXPECT_EQ(song.pos, c.file.size()) << "every byte was asked for";
        EXPECT_EQ(song.last_count, static_cast<int>(c.file.size() % kBlock));
        EXPECT_FALSE(song.late_buffer);
        EXPECT_NE(almp3_poll_mp3stream(song.stream), 0) << "stays finished";
    }
}

TEST(Almp3Silent, PollDecodesOnlyWhatTheClockAsksFor) {
    Bytes mp3 = encode({44100, 2, 6.0, 440}, "-b 320 --cbr");
    Song song(mp3);
    ASSERT_NE(song.stream, nullptr);
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(song.poll(), 0) << "not started: waits";
    almp3_play_mp3stream(song.stream, kAudioBuffer, 255, 128);
    for (int i = 0; i < 20; i++, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
        EXPECT_EQ(song.poll(), 0);
    // A fifth of a second into a 6 s song the input is still ahead: little has been asked for.
    EXPECT_LE(song.blocks_fed, 3) << "of " << mp3.size() / kBlock;
    almp3_stop_mp3stream(song.stream);
    EXPECT_NE(almp3_poll_mp3stream(song.stream), 0) << "a stopped stream is over";
    EXPECT_EQ(almp3_get_mp3stream_buffer(song.stream), nullptr);
}

// The capture: left and right channels centred on zero. Allegro reports rate, bits and channels
// but not the sign; the wrong reading turns every zero crossing into a full-scale jump.
std::vector<double> read_capture(const fs::path &p, int bits, int channels, int channel) {
    Bytes raw = read_file(p);
    int half = bits == 16 ? 0x8000 : 0x80;
    std::vector<double> as_unsigned, as_signed;
    for (size_t i = channel * bits / 8; i + bits / 8 <= raw.size(); i += channels * bits / 8) {
        int v = bits == 16 ? raw[i] | (raw[i + 1] << 8) : raw[i];
        as_unsigned.push_back(v - half);
        as_signed.push_back(v >= half ? v - 2 * half : v);
    }
    auto rough = [](const std::vector<double> &x) {
        double r = 0;
        for (size_t i = 1; i < x.size(); i++)
            r += std::fabs(x[i] - x[i - 1]);
        return r;
    };
    return rough(as_unsigned) <= rough(as_signed) ? as_unsigned : as_signed;
}

double goertzel_power(const std::vector<double> &x, size_t b, size_t e, double f, int rate) {
    double k = 2 * std::cos(2 * M_PI * f / rate), s1 = 0, s2 = 0;
    for (size_t i = b; i < e; i++)
        s2 = std::exchange(s1, x[i] + k * s1 - s2);
    return s1 * s1 + s2 * s2 - k * s1 * s2;
}

TEST(Almp3Sound, PlaysAtThePitchLengthAndVolumeOfTheFile) {
    const char *capture = std::getenv("VZ_CAPTURA");
    if (!capture) GTEST_SKIP() << "run through con_sonido.sh";
    ASSERT_TRUE(sound_installed) << allegro_error;
    int rate = get_mixer_frequency(), bits = get_mixer_bits(), channels = get_mixer_channels();
    struct Want {
        Tone tone;
        int vol, speed;
        double seconds, freq;
    } want[] = {{{44100, 2, 2.0, 440}, 255, 1000, 2.0, 440},
                {{22050, 1, 1.5, 660}, 255, 1000, 1.5, 660},
                {{44100, 2, 1.0, 440}, 100, 1500, 1.0 / 1.5, 660}};
    for (const Want &w : want) {
        Song song(encode(w.tone, "-b 128"));
        ASSERT_NE(song.stream, nullptr);
        // The null ALSA device takes data faster than real time: poll often to keep up.
        ASSERT_GT(song.play_to_end(5, 20.0, w.vol, w.speed), 0);
        ASSERT_EQ(song.play_result, 0);
        almp3_stop_mp3stream(song.stream);
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // silence between songs
    }
    remove_sound(); // closes the device, so the capture is complete

    std::vector<double> left = read_capture(capture, bits, channels, 0);
    std::vector<double> right = read_capture(capture, bits, channels, channels - 1);
    std::vector<std::pair<size_t, size_t>> songs; // sound separated by 0.1 s of silence
    for (size_t i = 0; i < left.size(); i++) {
        if (std::fabs(left[i]) < 200) continue;
        if (songs.empty() || i - songs.back().second > static_cast<size_t>(rate / 10))
            songs.push_back({i, i});
        songs.back().second = i + 1;
    }
    ASSERT_EQ(songs.size(), 3u);
    double level[3];
    for (int i = 0; i < 3; i++) {
        auto [begin, end] = songs[i];
        size_t b = begin + (end - begin) / 4, e = end - (end - begin) / 4; // the middle half
        double f = want[i].freq, n = static_cast<double>(e - b), crossings = 0, l2 = 0, r2 = 0;
        for (size_t j = b; j < e; j++) {
            crossings += (left[j - 1] < 0) != (left[j] < 0);
            l2 += left[j] * left[j];
            r2 += right[j] * right[j];
        }
        level[i] = std::sqrt(l2 / n);
        double p = goertzel_power(left, b, e, f, rate);
        std::printf("song %d: %.3f s, %.1f Hz, level %.0f, %.3f of the energy at %.0f Hz\n", i,
                    static_cast<double>(end - begin) / rate, crossings / 2 / (n / rate), level[i],
                    p / (n / 2 * l2), f);
        EXPECT_NEAR(static_cast<double>(end - begin) / rate, want[i].seconds, 0.08) << i;
        EXPECT_NEAR(crossings / 2 / (n / rate), f, f * 0.02) << i;
        // A pure tone keeps its energy at f; a wrong sample format adds a square wave.
        EXPECT_GT(p / (n / 2 * l2), 0.9) << i;
        EXPECT_NEAR(std::sqrt(r2 / n), level[i], level[i] * 0.05) << "centred " << i;
    }
    EXPECT_NEAR(level[1], level[0], level[0] * 0.1) << "mono plays as loud as stereo";
    EXPECT_NEAR(level[2], level[0] * 100 / 255, level[0] * 0.1) << "volume 100";
}

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    char dir[] = "/tmp/almp3-test-XXXXXX";
    if (!mkdtemp(dir)) return 1;
    work_dir = dir;
    if (std::getenv("VZ_CAPTURA")) {
        install_allegro(SYSTEM_AUTODETECT, &errno, atexit);
        install_timer();
        sound_installed = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) == 0;
    } else {
        install_allegro(SYSTEM_NONE, &errno, atexit); // no timer under SYSTEM_NONE
    }
    int result = RUN_ALL_TESTS();
    fs::remove_all(work_dir);
    return result;
}

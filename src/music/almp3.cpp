// MP3 stream layer: libmpg123 decodes the blocks that the caller hands over as it reads a file,
// and the PCM goes into an Allegro audio stream (16-bit stereo at the file's rate). Without a
// sound driver the song is decoded against the clock instead, so it still ends on time.
#include "music/almp3.h"
#include "allegro_vz.h"

#include <mpg123.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kFeedChunk = 4096;    // compressed bytes handed to the decoder at a time
constexpr int kMinBufferFrames = 1024; // smallest audio buffer we ask Allegro for
// Allegro's ring has two halves, and a half must be refilled before the voice comes back to it.
// The game polls every 250 ms; halves of at least 0.75 s outlast a skipped turn with room to spare.
constexpr double kMinHalfSeconds = 0.75;
// The largest frame that libmpg123 decodes (its MAXFRAMESIZE). Layer III frames of the bit-rate
// table stop at 320 kbps, VBR peaks included, but free format lets a frame take any size up to
// this: past the 640 kbps where encoders stop, to 1152 kbps at 48 kHz. So a frame's worth of
// music (1152 samples in MPEG-1, 576 in MPEG-2 and 2.5) costs at most this many bytes, 144,000
// a second at 48 kHz and 24 kHz.
constexpr size_t kMaxFrameBytes = 3456;
constexpr double kSilentLead = 0.5;    // seconds decoded ahead of the clock without a driver
constexpr double kSilentMaxStep = 2.0; // a stalled timer may not make one poll decode more

std::once_flag mpg123_once;
bool mpg123_ready = false; // written once under mpg123_once

bool init_mpg123() {
    std::call_once(mpg123_once, [] { mpg123_ready = mpg123_init() == MPG123_OK; });
    return mpg123_ready;
}

// Total size of an ID3v2 tag at the start of `d` (header included), or 0 when there is none.
long id3v2_size(const unsigned char *d, size_t n) {
    if (n < 10 || d[0] != 'I' || d[1] != 'D' || d[2] != '3' || d[3] == 0xff || d[4] == 0xff)
        return 0;
    long size = 0;
    for (int i = 6; i < 10; i++) {
        if (d[i] & 0x80) return 0; // sizes are stored 7 bits per byte
        size = (size << 7) | d[i];
    }
    return 10 + size + ((d[5] & 0x10) ? 10 : 0);
}

bool have_sound_driver() {
    return digi_driver && digi_driver->id != DIGI_NONE;
}

} // namespace

struct ALMP3_MP3STREAM {
    std::mutex lock; // the game polls from the timer thread and adjusts from the main thread
    mpg123_handle *mh = nullptr;

    // Compressed input: what the caller handed over and the decoder has not been fed yet.
    size_t block_size = 0;
    std::vector<unsigned char> pending;
    size_t pending_pos = 0;
    std::vector<unsigned char> lent_buffer; // the block-sized buffer of get_buffer
    bool lent = false;
    bool input_done = false;  // the last block has arrived
    bool decode_done = false; // no more PCM will come: input exhausted or the decoder gave up

    // Decoded PCM, interleaved stereo signed 16-bit, whatever the file had.
    long rate = 0; // 0 until the first frame header has been seen
    int channels = 0;
    std::vector<int16_t> pcm;
    size_t pcm_pos = 0; // in samples

    enum class Out { idle, sound, silent, stopped } out = Out::idle;
    bool play_requested = false;
    bool finished = false;
    int buffer_frames = 0;
    int vol = 255, pan = 128, speed = 1000;

    // Real output.
    AUDIOSTREAM *audio = nullptr;
    long last_data_end = -1; // ring position (in frames) just after the last real sample written
    bool draining = false;   // all data is in the ring; waiting for the voice to play it out
    long drain_left = 0;     // frames the voice still has to play
    int drain_pos = 0;       // voice position at the last look
    int silent_fills = 0;    // buffers filled with silence only since the data ended
    bool primed = false;     // the first fill, made as the voice starts, is done
    int look_pos = 0;        // voice position at the last pump
    long fresh = 0;          // frames written ahead of the voice at the last pump
    int late_fills = 0;      // the voice played stale data, or a fill ran short of music

    // Output against the clock when there is no driver.
    Clock::time_point last_tick;
    double clock_frames = 0;   // frames that would have been played by now
    long long decoded_out = 0; // frames decoded and dropped
};

namespace {

using Stream = ALMP3_MP3STREAM;

size_t pending_bytes(const Stream &s) {
    return s.pending.size() - s.pending_pos;
}
size_t pcm_frames(const Stream &s) {
    return (s.pcm.size() - s.pcm_pos) / 2;
}

// Hands the decoder its next chunk of input. False when there is none.
bool feed(Stream &s) {
    size_t n = std::min(kFeedChunk, pending_bytes(s));
    if (n == 0) return false;
    if (mpg123_feed(s.mh, s.pending.data() + s.pending_pos, n) != MPG123_OK) return false;
    s.pending_pos += n;
    if (s.pending_pos >= s.block_size && s.pending_pos * 2 >= s.pending.size()) {
        s.pending.erase(s.pending.begin(), s.pending.begin() + s.pending_pos);
        s.pending_pos = 0;
    }
    return true;
}

void append_pcm(Stream &s, const unsigned char *audio, size_t bytes) {
    if (s.pcm_pos > 0 && s.pcm_pos * 2 >= s.pcm.size()) {
        s.pcm.erase(s.pcm.begin(), s.pcm.begin() + s.pcm_pos);
        s.pcm_pos = 0;
    }
    size_t n = bytes / sizeof(int16_t);
    size_t at = s.pcm.size();
    if (s.channels == 1) {
        s.pcm.resize(at + 2 * n);
        for (size_t i = 0; i < n; i++) {
            int16_t v;
            std::memcpy(&v, audio + 2 * i, sizeof v);
            s.pcm[at + 2 * i] = s.pcm[at + 2 * i + 1] = v;
        }
    } else {
        s.pcm.resize(at + n);
        std::memcpy(s.pcm.data() + at, audio, n * sizeof(int16_t));
    }
}

// Decodes one more MPEG frame into `pcm`. False when nothing came out: more input is needed,
// or decoding is over (then decode_done is set).
bool decode_frame(Stream &s) {
    while (!s.decode_done) {
        off_t num;
        unsigned char *audio = nullptr;
        size_t bytes = 0;
        int r = mpg123_decode_frame(s.mh, &num, &audio, &bytes);
        if (r == MPG123_NEW_FORMAT) {
            long rate;
            int channels, encoding;
            mpg123_getformat(s.mh, &rate, &channels, &encoding);
            if (s.rate == 0) {
                // Keep the first rate for the whole song: the audio stream plays at one rate,
                // and mpg123 resamples any later frame that differs.
                s.rate = rate;
                mpg123_format_none(s.mh);
                mpg123_format(s.mh, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
            } else if (rate != s.rate) {
                s.decode_done = true;
                return false;
            }
            s.channels = channels;
            continue;
        }
        if (r == MPG123_OK) {
            if (bytes == 0 || s.channels == 0) continue;
            append_pcm(s, audio, bytes);
            return true;
        }
        if (r == MPG123_NEED_MORE) {
            if (feed(s)) continue;
            if (s.input_done) s.decode_done = true;
            return false;
        }
        s.decode_done = true; // an error the decoder cannot get past
    }
    return false;
}

// Moves up to `frames` frames of PCM into an audio buffer (unsigned 16-bit for Allegro).
int take_pcm(Stream &s, uint16_t *dst, int frames) {
    int n = static_cast<int>(std::min<size_t>(frames, pcm_frames(s)));
    const int16_t *src = s.pcm.data() + s.pcm_pos;
    for (int i = 0; i < 2 * n; i++)
        dst[i] = static_cast<uint16_t>(src[i]) ^ 0x8000;
    s.pcm_pos += 2 * n;
    return n;
}

long ring_frames(const AUDIOSTREAM *a) {
    return 2L * a->len * a->bufcount;
}

// Frames in each half of the sound ring.
int half_frames(const Stream &s) {
    return std::max(s.buffer_frames, static_cast<int>(s.rate * kMinHalfSeconds));
}

// Compressed bytes that surely decode to a whole sound ring at any bit rate: the ring's frames
// at the largest size, one frame more for the encoder's info frame at the start and one for the
// next header, which the decoder looks for to learn a free-format frame's size.
size_t bytes_for_ring(const Stream &s) {
    if (s.rate == 0) return 2 * s.block_size; // the format is still unknown
    const size_t per_frame = s.rate >= 32000 ? 1152 : 576;
    return (2 * static_cast<size_t>(half_frames(s)) / per_frame + 3) * kMaxFrameBytes;
}

// The first fill takes both halves of the ring, so the output waits until the data for all of
// it is in hand (or the whole song is): a song starts whole, not with a gap after its first block.
bool ready_to_start(const Stream &s) {
    return s.input_done || s.decode_done || !have_sound_driver() ||
           pending_bytes(s) >= bytes_for_ring(s);
}

// Fills every buffer that the audio stream asks for, and notices when the song has played out.
void pump_sound(Stream &s) {
    AUDIOSTREAM *a = s.audio;
    const long ring = ring_frames(a);
    const int now = voice_get_position(a->voice);
    auto ahead = [ring](long from, long to) { return ((to - from) % ring + ring) % ring; };
    if (now >= 0) {
        // Since the last pump the voice has gone past what was written then: it has played a
        // stretch of the ring that was not refilled in time.
        const long played = ahead(s.look_pos, now);
        if (s.primed && played > s.fresh) s.late_fills++;
        s.fresh = std::max(0L, s.fresh - played);
        s.look_pos = now;
    }
    while (void *p = get_audio_stream_buffer(a)) {
        auto *dst = static_cast<uint16_t *>(p);
        long start = static_cast<long>(a->bufnum) * a->len; // the fragment just handed out
        if (now >= 0) s.fresh = ahead(now, (start + a->len) % ring);
        if (s.fresh == 0) s.fresh = ring; // written right up to the voice: a whole ring ahead
        int got = 0;
        while (got < a->len) {
            if (pcm_frames(s) == 0 && !decode_frame(s)) break;
            got += take_pcm(s, dst + 2 * got, a->len - got);
        }
        if (got < a->len && !s.decode_done) s.late_fills++; // short of music before its end
        // Short of data (end of song, or the caller is late with input): play silence.
        std::fill(dst + 2 * got, dst + 2 * a->len, uint16_t{0x8000});
        free_audio_stream_buffer(a);
        if (got > 0) {
            s.last_data_end = start + got;
            s.silent_fills = 0;
        } else if (s.decode_done) {
            s.silent_fills++;
        }
        if (s.decode_done && pcm_frames(s) == 0 && !s.draining) {
            s.draining = true;
            s.drain_pos = voice_get_position(a->voice);
            s.drain_left =
                s.last_data_end < 0 ? 0 : ((s.last_data_end - s.drain_pos) % ring + ring) % ring;
        }
    }
    if (!s.draining) return;
    int pos = voice_get_position(a->voice);
    if (pos < 0) {
        s.finished = true;
        return;
    }
    s.drain_left -= ((pos - s.drain_pos) % ring + ring) % ring;
    s.drain_pos = pos;
    // The second test catches a voice that went round the ring between two looks: once the
    // stream has asked again for every fragment, the last data has surely been played.
    if (s.drain_left <= 0 || s.silent_fills >= 2 * a->bufcount) s.finished = true;
}

// No driver: decode what the clock says would have been played by now, and drop it.
void pump_silent(Stream &s) {
    Clock::time_point now = Clock::now();
    double dt = std::chrono::duration<double>(now - s.last_tick).count();
    s.last_tick = now;
    s.clock_frames += std::min(dt, kSilentMaxStep) * s.rate * s.speed / 1000.0;
    double target = s.clock_frames + kSilentLead * s.rate;
    while (s.decoded_out < target) {
        if (pcm_frames(s) == 0 && !decode_frame(s)) break;
        s.decoded_out += pcm_frames(s);
        s.pcm.clear();
        s.pcm_pos = 0;
    }
    if (s.decode_done && pcm_frames(s) == 0 && s.clock_frames >= s.decoded_out) s.finished = true;
}

void apply_voice(Stream &s) {
    if (!s.audio) return;
    voice_set_volume(s.audio->voice, s.vol);
    voice_set_pan(s.audio->voice, s.pan);
    voice_set_frequency(s.audio->voice, static_cast<int>(s.rate * s.speed / 1000));
}

// Opens the output once the format is known. 0 when a real audio stream plays.
int start_output(Stream &s) {
    if (have_sound_driver())
        s.audio = play_audio_stream(half_frames(s), 16, 1, static_cast<int>(s.rate), s.vol, s.pan);
    if (s.audio) {
        s.out = Stream::Out::sound;
        if (s.speed != 1000) apply_voice(s);
        pump_sound(s); // both halves now, so the song starts without a gap
        s.primed = true;
        return 0;
    }
    s.out = Stream::Out::silent;
    s.last_tick = Clock::now();
    return -1;
}

// With the format still unknown (a long tag before the first frame), decodes until it is.
bool find_format(Stream &s) {
    while (s.rate == 0 && !s.decode_done)
        if (!decode_frame(s)) break;
    return s.rate != 0;
}

} // namespace

ALMP3_MP3STREAM *almp3_create_mp3stream(void *first_data_buffer, int data_buffer_len,
                                        int last_block) {
    if (!first_data_buffer || data_buffer_len <= 0 || !init_mpg123()) return nullptr;
    auto *s = new Stream;
    int err = MPG123_OK;
    s->mh = mpg123_new(nullptr, &err);
    if (!s->mh) {
        delete s;
        return nullptr;
    }
    mpg123_param(s->mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(s->mh);
    const long *rates;
    size_t nrates;
    mpg123_rates(&rates, &nrates);
    for (size_t i = 0; i < nrates; i++)
        mpg123_format(s->mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(s->mh) != MPG123_OK) {
        almp3_destroy_mp3stream(s);
        return nullptr;
    }

    const auto *data = static_cast<const unsigned char *>(first_data_buffer);
    s->block_size = static_cast<size_t>(data_buffer_len);
    s->pending.assign(data, data + data_buffer_len);
    s->lent_buffer.resize(s->block_size);
    s->input_done = last_block != 0;

    // Refuse data that yields no frame. A tag longer than the block hides the first frame,
    // so a block that is all tag is taken on trust when more blocks are to come.
    bool ok = decode_frame(*s);
    if (!ok && !s->decode_done && !s->input_done && id3v2_size(data, s->block_size) > 0) ok = true;
    if (!ok) {
        almp3_destroy_mp3stream(s);
        return nullptr;
    }
    return s;
}

int almp3_play_mp3stream(ALMP3_MP3STREAM *mp3, int buffer_len, int vol, int pan) {
    if (!mp3) return -1;
    std::lock_guard<std::mutex> guard(mp3->lock);
    mp3->vol = std::clamp(vol, 0, 255);
    mp3->pan = std::clamp(pan, 0, 255);
    if (mp3->out == Stream::Out::sound) {
        apply_voice(*mp3);
        return 0;
    }
    if (mp3->out != Stream::Out::idle) return -1;
    // The length is in bytes of 16-bit stereo; Allegro counts frames.
    mp3->buffer_frames = std::max(buffer_len / 4, kMinBufferFrames);
    mp3->play_requested = true;
    // Otherwise a poll opens the output once a frame and enough data have turned up.
    if (!find_format(*mp3) || !ready_to_start(*mp3)) return have_sound_driver() ? 0 : -1;
    return start_output(*mp3);
}

void *almp3_get_mp3stream_buffer(ALMP3_MP3STREAM *mp3) {
    if (!mp3) return nullptr;
    std::lock_guard<std::mutex> guard(mp3->lock);
    if (mp3->input_done || mp3->decode_done || mp3->out == Stream::Out::stopped) return nullptr;
    // A whole ring's worth in hand at the highest bit rate: before the first fill, and after it
    // so that a refill is never short of data at any rate.
    if (!mp3->lent && pending_bytes(*mp3) >= bytes_for_ring(*mp3)) return nullptr;
    mp3->lent = true;
    return mp3->lent_buffer.data();
}

void almp3_free_mp3stream_buffer(ALMP3_MP3STREAM *mp3, int bytes_used) {
    if (!mp3) return;
    std::lock_guard<std::mutex> guard(mp3->lock);
    if (!mp3->lent) return;
    mp3->lent = false;
    size_t n = mp3->block_size;
    if (bytes_used != -1 && static_cast<size_t>(std::max(bytes_used, 0)) < mp3->block_size) {
        n = static_cast<size_t>(std::max(bytes_used, 0));
        mp3->input_done = true;
    }
    mp3->pending.insert(mp3->pending.end(), mp3->lent_buffer.begin(),
                        mp3->lent_buffer.begin() + static_cast<long>(n));
}

int almp3_poll_mp3stream(ALMP3_MP3STREAM *mp3) {
    if (!mp3) return -1;
    std::lock_guard<std::mutex> guard(mp3->lock);
    if (mp3->finished || mp3->out == Stream::Out::stopped) return -1;
    if (!mp3->play_requested) return 0;
    if (mp3->out == Stream::Out::idle) {
        if (!find_format(*mp3)) {
            if (mp3->decode_done) mp3->finished = true;
            return mp3->finished ? -1 : 0;
        }
        if (!ready_to_start(*mp3)) return 0;
        start_output(*mp3);
        if (mp3->out == Stream::Out::sound) return mp3->finished ? -1 : 0;
    }
    if (mp3->out == Stream::Out::sound)
        pump_sound(*mp3);
    else
        pump_silent(*mp3);
    return mp3->finished ? -1 : 0;
}

int almp3_late_refills(ALMP3_MP3STREAM *mp3) {
    if (!mp3) return 0;
    std::lock_guard<std::mutex> guard(mp3->lock);
    return mp3->late_fills;
}

void almp3_adjust_mp3stream(ALMP3_MP3STREAM *mp3, int vol, int pan, int speed) {
    if (!mp3) return;
    std::lock_guard<std::mutex> guard(mp3->lock);
    mp3->vol = std::clamp(vol, 0, 255);
    mp3->pan = std::clamp(pan, 0, 255);
    if (speed > 0) mp3->speed = speed;
    apply_voice(*mp3);
}

void almp3_stop_mp3stream(ALMP3_MP3STREAM *mp3) {
    if (!mp3) return;
    std::lock_guard<std::mutex> guard(mp3->lock);
    if (mp3->audio) stop_audio_stream(mp3->audio);
    mp3->audio = nullptr;
    mp3->out = Stream::Out::stopped;
}

void almp3_destroy_mp3stream(ALMP3_MP3STREAM *mp3) {
    if (!mp3) return;
    almp3_stop_mp3stream(mp3);
    if (mp3->mh) mpg123_delete(mp3->mh);
    delete mp3;
}

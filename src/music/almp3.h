// MP3 stream layer: decodes with libmpg123 and plays through an Allegro audio stream.
// The data is handed over in blocks by the caller, as a file is read.
#pragma once

struct ALMP3_MP3STREAM;

// A new stream from the first block (copied); `last_block` non-zero when it is the whole file.
// Null when the data is not MP3 or nothing can be decoded from it.
ALMP3_MP3STREAM *almp3_create_mp3stream(void *first_data_buffer, int data_buffer_len,
                                        int last_block);
// Starts playing with an audio buffer of `buffer_len` bytes. 0 on success. The sound starts once
// the stream holds enough data for its first fill (get_buffer asks for it), at a poll.
int almp3_play_mp3stream(ALMP3_MP3STREAM *mp3, int buffer_len, int vol, int pan);
// A block-sized buffer to fill now, or null when the stream holds enough data.
void *almp3_get_mp3stream_buffer(ALMP3_MP3STREAM *mp3);
// Gives the buffer back: `bytes_used` -1 for a full block, fewer bytes mark the last block.
void almp3_free_mp3stream_buffer(ALMP3_MP3STREAM *mp3, int bytes_used);
// Decodes ahead into the audio stream. 0 while the song goes on, non-zero once it is over.
int almp3_poll_mp3stream(ALMP3_MP3STREAM *mp3);
// Audio fragments refilled too late, when the voice had already come back to them (a stale stretch
// of the song was heard), or short of music before the song's end (silence was heard).
int almp3_late_refills(ALMP3_MP3STREAM *mp3);
void almp3_adjust_mp3stream(ALMP3_MP3STREAM *mp3, int vol, int pan, int speed);
void almp3_stop_mp3stream(ALMP3_MP3STREAM *mp3);
void almp3_destroy_mp3stream(ALMP3_MP3STREAM *mp3);

// 16-bit mono PCM WAV files, the plain RIFF layout that Allegro's load_sample reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sonido {

std::vector<std::uint8_t> wav_bytes(const std::vector<std::int16_t> &pcm, int rate);

// Writes bytes to a file; throws std::runtime_error when it cannot.
void write_file(const std::string &path, const std::vector<std::uint8_t> &bytes);

} // namespace sonido

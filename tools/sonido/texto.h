// Reading the sound tool's text sources: comments and errors that name the file and line.
#pragma once
#include <cctype>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace sonido {

// '#' starts a comment only at the start of a word, so that sharps like f#4 survive.
inline std::string strip_comment(const std::string &text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(text[i - 1]))))
            return text.substr(0, i);
    return text;
}

[[noreturn]] inline void fail(const std::string &file, int line, const std::string &what) {
    throw std::runtime_error(file + ":" + std::to_string(line) + ": " + what);
}

} // namespace sonido

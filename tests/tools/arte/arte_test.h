// Shared by the art tests: the tool's outputs, built once per run into temporary folders.
#pragma once

#include <allegro.h>

#include <filesystem>
#include <string>

namespace arte_test {

// The scratch folder of this test process.
std::filesystem::path root();

// Folders holding imagen.bmp and font.dat from two separate runs of the tool.
const std::string &first_run();
const std::string &second_run();

// Allegro with no system driver, 8-bit colour; once per process.
void start_allegro();

// Perceived brightness, 0..255, of an Allegro palette entry (6-bit channels).
double luma(const RGB &c);

std::string read_file(const std::string &path);

} // namespace arte_test

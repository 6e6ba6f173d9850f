#include "arte_test.h"

#include "image.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace arte_test {

fs::path root() {
    return fs::temp_directory_path() / ("arte-test-" + std::to_string(getpid()));
}

namespace {

// Everything the tests write goes under one folder per test process, removed at the end.
class ScratchFolder : public ::testing::Environment {
  public:
    void TearDown() override { fs::remove_all(root()); }
};

[[maybe_unused]] const auto *const scratch = ::testing::AddGlobalTestEnvironment(new ScratchFolder);

std::string run_tool(const std::string &name) {
    const fs::path dir = root() / name;
    fs::remove_all(dir);
    const std::string cmd = std::string("'") + ARTE_TOOL + "' '" + ARTE_DATA + "' '" +
                            (dir / "datos").string() + "' '" + (dir / "work").string() + "' '" +
                            ARTE_DAT + "'";
    if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "the tool failed: " << cmd;
    return (dir / "datos").string();
}

} // namespace

const std::string &first_run() {
    static const std::string dir = run_tool("a");
    return dir;
}

const std::string &second_run() {
    static const std::string dir = run_tool("b");
    return dir;
}

void start_allegro() {
    static bool done = false;
    if (done) return;
    ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
    set_color_depth(8);
    done = true;
}

double luma(const RGB &c) {
    return (0.299 * c.r + 0.587 * c.g + 0.114 * c.b) * 255.0 / 63.0;
}

std::string read_file(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace arte_test

namespace {

using arte_test::first_run;
using arte_test::read_file;
using arte_test::second_run;

TEST(ArteBuild, TwoRunsGiveTheSameBytes) {
    for (const char *file : {"/imagen.bmp", "/font.dat"}) {
        const std::string a = read_file(first_run() + file), b = read_file(second_run() + file);
        ASSERT_FALSE(a.empty()) << file;
        EXPECT_TRUE(a == b) << file << " differs between two runs";
    }
}

// The palette reader: ramps are interpolated between keys, and mistakes in the source are refused.
class PaletteSource : public ::testing::Test {
  protected:
    std::string write(const std::string &text) {
        fs::create_directories(arte_test::root());
        const fs::path p = arte_test::root() / "palette.txt";
        std::ofstream(p) << text;
        return p.string();
    }
    static std::string filler(int first) {
        return "ramp " + std::to_string(first) + " " + std::to_string(256 - first) +
               " rest 0:0,0,0 " + std::to_string(255 - first) + ":252,252,252\n";
    }
};

TEST_F(PaletteSource, RampsInterpolateAndRoundToVgaSteps) {
    const arte::Palette pal = arte::load_palette(
        write("color 0 black 0,0,0\nramp 1 5 test 0:0,0,0 4:200,101,10\n" + filler(6)));
    EXPECT_EQ(pal.ramp("test", 0), 1);
    EXPECT_EQ(pal.ramp("test", 99), 5); // clamped to the ramp
    EXPECT_EQ(pal.rgb[5].r, 200);
    EXPECT_EQ(pal.rgb[5].g, 100); // 101 rounds to the nearest multiple of 4
    EXPECT_EQ(pal.rgb[3].r, 100); // half way
    EXPECT_EQ(pal.named("black"), 0);
}

TEST_F(PaletteSource, RefusesReusedOrMissingEntries) {
    EXPECT_THROW(arte::load_palette(write("color 0 a 0,0,0\ncolor 0 b 4,4,4\n" + filler(1))),
                 std::runtime_error);
    EXPECT_THROW(arte::load_palette(write("color 0 a 0,0,0\n" + filler(2))), std::runtime_error);
    EXPECT_THROW(
        arte::load_palette(write("color 0 a 0,0,0\nramp 1 4 r 0:0,0,0 2:4,4,4\n" + filler(5))),
        std::runtime_error); // keys must reach the last entry
}

} // namespace

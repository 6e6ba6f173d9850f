#include "frame/arranque.h"
#include <gtest/gtest.h>
#include <vector>

using namespace vz;

namespace {

// Whole arguments, case-sensitive, in any order, repeated or not; anything else is ignored.
TEST(Opciones, OnlyTheExactThreeOptionsCount)
{
    const struct {
        std::vector<const char *> args;
        int card, tbuf, info;
    } casos[] = {
        {{}, GFX_AUTODETECT_WINDOWED, 0, 0},
        {{"-info", "-tbuf", "-full", "-tbuf"}, GFX_AUTODETECT_FULLSCREEN, 1, 1},
        {{"-tbuf"}, GFX_AUTODETECT_WINDOWED, 1, 0},
        {{"-FULL", "-Tbuf", "-info=1", "-full ", "full", "--tbuf", "-inf", "x"}, GFX_AUTODETECT_WINDOWED, 0, 0},
    };
    for (const auto &c : casos) {
        autodetect_card = GFX_AUTODETECT_WINDOWED;
        triple_buffer = info = 0;
        std::vector<const char *> argv = c.args;
        argv.insert(argv.begin(), "vorkzel");
        lee_opciones(static_cast<int>(argv.size()), const_cast<char **>(argv.data()));
        EXPECT_EQ(autodetect_card, c.card) << c.args.size() << " arguments";
        EXPECT_EQ(triple_buffer, c.tbuf) << c.args.size() << " arguments";
        EXPECT_EQ(info, c.info) << c.args.size() << " arguments";
    }
}

} // namespace

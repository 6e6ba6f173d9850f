#include "frame/arranque.h"
#include <gtest/gtest.h>
#include <vector>

using namespace vz;

namespace {

struct Opciones : ::testing::Test {
    void SetUp() override
    {
        autodetect_card = GFX_AUTODETECT_WINDOWED;
        triple_buffer = 0;
        info = 0;
    }
    void lee(std::vector<const char *> args)
    {
        args.insert(args.begin(), "vorkzel");
        lee_opciones(static_cast<int>(args.size()), const_cast<char **>(args.data()));
    }
};

TEST_F(Opciones, NoArgumentsMeansWindowMemoryPageNoInfo)
{
    lee({});
    EXPECT_EQ(autodetect_card, GFX_AUTODETECT_WINDOWED);
    EXPECT_EQ(triple_buffer, 0);
    EXPECT_EQ(info, 0);
}

TEST_F(Opciones, AllThreeInAnyOrderAndRepeated)
{
    lee({"-info", "-tbuf", "-full", "-tbuf"});
    EXPECT_EQ(autodetect_card, GFX_AUTODETECT_FULLSCREEN);
    EXPECT_EQ(triple_buffer, 1);
    EXPECT_EQ(info, 1);
    SetUp();
    lee({"-full", "-info", "-tbuf"});
    EXPECT_EQ(autodetect_card, GFX_AUTODETECT_FULLSCREEN);
    EXPECT_EQ(triple_buffer, 1);
    EXPECT_EQ(info, 1);
}

TEST_F(Opciones, OtherCaseSuffixesAndStrangersAreIgnored)
{
    lee({"-FULL", "-Tbuf", "-info=1", "-full ", "full", "--tbuf", "-inf", "x"});
    EXPECT_EQ(autodetect_card, GFX_AUTODETECT_WINDOWED);
    EXPECT_EQ(triple_buffer, 0);
    EXPECT_EQ(info, 0);
}

} // namespace

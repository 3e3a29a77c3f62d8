#include "BitmapCensus.hpp"
#include "framework/Image.hpp"
#include "framework/tests/HeadlessScreen.hpp"

#include <gtest/gtest.h>

#include <allegro.h>

#include <string>

// The count is only worth something if it sees the library's own bitmaps.
TEST(BitmapCensus, SeesTheBitmapsTheLibraryMakesInsideLoadBitmap)
{
    const HeadlessScreen screen; // starts the library, converting to 32 bits
    const std::size_t live = census::liveCount();
    const std::size_t made = census::madeCount();
    const std::string troll = std::string(GRIMBLEDOM_PLAY_DIR) + "/troll1.bmp";

    BITMAP* picture = load_bitmap(troll.c_str(), nullptr);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(bitmap_color_depth(picture), 32);
    // The 24-bit picture the reader made and the 32-bit copy it turned into.
    EXPECT_EQ(census::madeCount(), made + 2);
    EXPECT_EQ(census::liveCount(), live + 1);
    EXPECT_TRUE(census::isLoaded("troll1.bmp"));
    destroy_bitmap(picture);
    EXPECT_EQ(census::liveCount(), live);
    EXPECT_FALSE(census::isLoaded("troll1.bmp"));

    Image image; // the game's own calls are seen as well
    image.load(troll.c_str());
    EXPECT_EQ(census::liveCount(), live + 1);
    image.destroy();
    BITMAP* made24 = create_bitmap_ex(24, 4, 4);
    BITMAP* made32 = create_bitmap(4, 4);
    EXPECT_EQ(census::liveCount(), live + 2);
    destroy_bitmap(made24);
    destroy_bitmap(made32);
    EXPECT_EQ(census::liveCount(), live);
    EXPECT_EQ(census::strayDestroys(), 0u);
}

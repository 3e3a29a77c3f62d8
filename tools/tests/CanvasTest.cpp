#include "datagen/Canvas.hpp"

#include <gtest/gtest.h>

using namespace datagen;

namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

} // namespace

TEST(CanvasPixels, DrawnColourNeverTurnsIntoTheTransparentMagenta)
{
    Canvas c(2, 1);
    c.set(0, 0, kMagenta);
    EXPECT_FALSE(c.isClear(0, 0));
    EXPECT_TRUE(c.isClear(1, 0));
}

TEST(CanvasPixels, FaintBlendOnAClearPixelLeavesItClearSoEdgesStayHard)
{
    Canvas c(3, 1);
    c.blend(0, 0, Rgb{10, 20, 30}, 0.4);
    c.blend(1, 0, Rgb{10, 20, 30}, 0.5);
    EXPECT_TRUE(c.isClear(0, 0));
    EXPECT_EQ(c.at(1, 0), (Rgb{10, 20, 30}));
}

TEST(CanvasPixels, BlendOnADrawnPixelMixesByOpacity)
{
    Canvas c(1, 1, Rgb{0, 0, 0});
    c.blend(0, 0, Rgb{200, 100, 50}, 0.25);
    EXPECT_EQ(c.at(0, 0), (Rgb{50, 25, 13}));
}

TEST(CanvasPixels, WritesOutsideThePictureAreIgnored)
{
    Canvas c(2, 2);
    c.set(-1, 0, Rgb{1, 2, 3});
    c.set(2, 1, Rgb{1, 2, 3});
    c.blend(0, 5, Rgb{1, 2, 3}, 1.0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_TRUE(c.isClear(x, y));
}

TEST(CanvasBmp, HeaderDescribesAn24BitBottomUpPictureWithPaddedRows)
{
    Canvas c(5, 3, Rgb{0, 0, 0});
    const std::vector<std::uint8_t> bmp = c.toBmp();
    const std::uint32_t rowBytes = 16; // 15 bytes of pixels padded to a multiple of 4
    ASSERT_EQ(bmp.size(), 54u + rowBytes * 3);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    EXPECT_EQ(le32(bmp, 10), 54u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), 5u);
    EXPECT_EQ(le32(bmp, 22), 3u);
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(le32(bmp, 30), 0u);
}

TEST(CanvasBmp, PixelsAreStoredBlueGreenRedFromTheBottomRowUp)
{
    Canvas c(2, 2, Rgb{0, 0, 0});
    c.set(1, 0, Rgb{10, 20, 30});
    c.set(0, 1, Rgb{40, 50, 60});
    const std::vector<std::uint8_t> bmp = c.toBmp();
    // Bottom row (y 1) first.
    EXPECT_EQ(bmp[54], 60);
    EXPECT_EQ(bmp[55], 50);
    EXPECT_EQ(bmp[56], 40);
    // Top row starts after one padded row of 8 bytes.
    EXPECT_EQ(bmp[62 + 3], 30);
    EXPECT_EQ(bmp[62 + 4], 20);
    EXPECT_EQ(bmp[62 + 5], 10);
}

#include "HeadlessScreen.hpp"

#include "framework/Graphics.hpp"
#include "framework/Image.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <type_traits>
#include <unistd.h>

static_assert(!std::is_copy_constructible_v<Image> && !std::is_copy_assignable_v<Image>);

namespace {

using Rgb = HeadlessScreen::Rgb;

class ImageTest : public ::testing::Test {
public:
    // Writes a w by h BMP filled with one colour, with a magenta top-left pixel.
    std::string makeBmp(const char* name, int w, int h, int colour)
    {
        BITMAP* b = create_bitmap(w, h);
        clear_to_color(b, colour);
        putpixel(b, 0, 0, makecol(255, 0, 255));
        // Tests run in parallel processes: each writes files of its own.
        const std::string path = ::testing::TempDir() + std::to_string(getpid()) + "-" + name;
        save_bitmap(path.c_str(), b, nullptr);
        destroy_bitmap(b);
        files_.push_back(path);
        return path;
    }

protected:
    ~ImageTest() override
    {
        for (const auto& f : files_)
            std::remove(f.c_str());
    }

    HeadlessScreen screen;
    std::vector<std::string> files_;
};

// A w by h image of nothing but its box, for collision tests.
struct Box {
    Box(ImageTest* t, int w, int h)
    {
        if (w > 0)
            image.load(
                t->makeBmp(("box" + std::to_string(w) + "x" + std::to_string(h) + ".bmp").c_str(),
                           w, h, makecol(0, 0, 255))
                    .c_str());
    }
    Image image;
};

} // namespace

TEST_F(ImageTest, LoadsDrawsAndReportsItsSize)
{
    Image image;
    image.load(makeBmp("red.bmp", 8, 6, makecol(255, 0, 0)).c_str());
    EXPECT_EQ(image.width(), 8);
    EXPECT_EQ(image.height(), 6);
    EXPECT_EQ(bitmap_color_depth(image.bitmap()), 32);

    image.draw(100, 50);
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 100, 50), (Rgb{255, 0, 255})); // plain copy
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 107, 55), (Rgb{255, 0, 0}));
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 108, 55), (Rgb{0, 0, 0}));

    clear_to_color(backBuffer, makecol(0, 0, 0));
    image.drawMasked(100, 50);
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 100, 50), (Rgb{0, 0, 0})); // magenta left out
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 101, 50), (Rgb{255, 0, 0}));
}

TEST_F(ImageTest, RotatedDrawTurnsAboutTheCentre)
{
    Image image;
    image.load(makeBmp("turn.bmp", 10, 10, makecol(0, 255, 0)).c_str());
    image.drawRotated(20, 20, 0);
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 20, 20), (Rgb{0, 0, 0})); // masked corner
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 21, 20), (Rgb{0, 255, 0}));

    clear_to_color(backBuffer, makecol(0, 0, 0));
    image.drawRotated(20, 20, 128); // half a turn: the magenta corner moves to the bottom right
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 20, 20), (Rgb{0, 255, 0}));
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 29, 29), (Rgb{0, 0, 0}));

    // Partly off the left edge, as actors walk in.
    clear_to_color(backBuffer, makecol(0, 0, 0));
    image.drawRotated(-5, 20, 0);
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 0, 20), (Rgb{0, 255, 0}));
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 4, 29), (Rgb{0, 255, 0}));
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 5, 25), (Rgb{0, 0, 0}));
}

// After a frame of minutes (a machine that slept) actors stand tens of
// thousands of pixels off the screen, past what a 16.16 fixed-point
// position holds.
TEST_F(ImageTest, RotatedDrawFarOffTheScreenDrawsNothing)
{
    Image image;
    image.load(makeBmp("far.bmp", 10, 10, makecol(0, 255, 0)).c_str());
    for (int far : {-200000, -40000, 40000, 200000}) {
        image.drawRotated(far, 20, 32);
        image.drawRotated(20, far, 32);
    }
    for (int y = 0; y < backBuffer->h; ++y)
        for (int x = 0; x < backBuffer->w; ++x)
            ASSERT_EQ(HeadlessScreen::pixel(backBuffer, x, y), (Rgb{0, 0, 0})) << x << "," << y;

    // Turned by an eighth, a picture just past the edge still reaches in.
    image.drawRotated(-11, 20, 32);
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 0, 25), (Rgb{0, 255, 0}));
}

TEST_F(ImageTest, EmptyImageDrawsNothingAndFreesNothingTwice)
{
    Image image;
    image.load("no-such-file.bmp");
    EXPECT_EQ(image.width(), 0);
    EXPECT_EQ(image.height(), 0);
    clear_to_color(backBuffer, makecol(1, 2, 3));
    image.draw(0, 0);
    image.drawMasked(0, 0);
    image.drawRotated(0, 0, 64);
    EXPECT_EQ(HeadlessScreen::pixel(backBuffer, 0, 0), (Rgb{1, 2, 3}));
    image.destroy();
    image.destroy();
}

TEST_F(ImageTest, LoadingAgainReplacesThePicture)
{
    Image image;
    image.load(makeBmp("first.bmp", 4, 4, makecol(255, 0, 0)).c_str());
    image.load(makeBmp("second.bmp", 7, 3, makecol(0, 0, 255)).c_str());
    EXPECT_EQ(image.width(), 7);
    EXPECT_EQ(image.height(), 3);
}

TEST(Collision, InRangeIncludesBothBounds)
{
    EXPECT_TRUE(inRange(0, 10, 0));
    EXPECT_TRUE(inRange(0, 10, 10));
    EXPECT_FALSE(inRange(0, 10, -1));
    EXPECT_FALSE(inRange(0, 10, 11));
    for (int v = -2; v <= 12; ++v)
        EXPECT_FALSE(inRange(10, 0, v));
}

TEST(Collision, BoxTestIsOneSided)
{
    // A wide box crossing a tall one: no corner of either lies in the other.
    EXPECT_TRUE(rectsOverlap(0, 30, 10, 14, 10, 14, 0, 30));
    EXPECT_FALSE(rectsOverlap(10, 14, 0, 30, 0, 30, 10, 14));
    // A box wholly inside another is seen only from the inner one's corners.
    EXPECT_TRUE(rectsOverlap(2, 4, 2, 4, 0, 10, 0, 10));
    EXPECT_FALSE(rectsOverlap(0, 10, 0, 10, 2, 4, 2, 4));
}

TEST_F(ImageTest, ImagesCollideWhenTheirBoxesShareAPoint)
{
    Box a(this, 10, 10), b(this, 10, 10);
    EXPECT_TRUE(imagesCollide(a.image, 0, 0, b.image, 10, 0)); // touching
    EXPECT_FALSE(imagesCollide(a.image, 0, 0, b.image, 11, 0));
    EXPECT_TRUE(imagesCollide(a.image, 0, 0, b.image, 10, 10)); // shared corner

    Box wide(this, 30, 4), tall(this, 4, 30);
    EXPECT_TRUE(imagesCollide(wide.image, 0, 10, tall.image, 10, 0));
    EXPECT_TRUE(imagesCollide(tall.image, 10, 0, wide.image, 0, 10));

    Box big(this, 40, 40), small(this, 5, 5);
    EXPECT_TRUE(imagesCollide(big.image, 0, 0, small.image, 10, 10));
    EXPECT_TRUE(imagesCollide(small.image, 10, 10, big.image, 0, 0));
}

TEST_F(ImageTest, EmptyImageCollidesAsAPoint)
{
    Image empty;
    Box box(this, 10, 10);
    EXPECT_TRUE(imagesCollide(empty, 5, 5, box.image, 0, 0));
    EXPECT_TRUE(imagesCollide(empty, 5, 5, box.image, 5, 5));
    EXPECT_FALSE(imagesCollide(empty, 5, 5, box.image, 6, 6));
}

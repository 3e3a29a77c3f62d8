#include "TrollRunTestFolder.hpp"

namespace {

using PopupTest = TrollRunTestFolder;

// The first row with ink on a black screen after drawing the word at y 200.
int wordTop(Popup& popup)
{
    clear_to_color(backBuffer, makecol(0, 0, 0));
    popup.draw(330, 200);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (!(HeadlessScreen::pixel(backBuffer, x, y) == HeadlessScreen::Rgb{0, 0, 0}))
                return y;
    return -1;
}

} // namespace

TEST_F(PopupTest, WordRisesTwentyFivePixelsAsItFadesOut)
{
    Popup& popup = run_->popup;
    popup.loadFont();
    EXPECT_EQ(wordTop(popup), -1); // nothing before the first word
    popup.show(Popup::kMiss);
    const int fresh = wordTop(popup);
    EXPECT_GE(fresh, 200);
    EXPECT_LT(fresh, 224);
    EXPECT_TRUE(anyPixel(backBuffer, 0, 200, 640, 224, {50, 220, 50}));
    advance(351); // whole-part alpha 9
    EXPECT_EQ(wordTop(popup), fresh - 25);
    advance(20);
    EXPECT_EQ(wordTop(popup), -1);

    popup.show(Popup::kHit);
    popup.freeFont();
    popup.freeFont();
    EXPECT_EQ(wordTop(popup), -1); // no font, no word, no crash
}

#include "TrollRunTestFolder.hpp"

namespace {

using TrollTest = TrollRunTestFolder;
const HeadlessScreen::Rgb kRed{255, 0, 0};
const HeadlessScreen::Rgb kGreen{0, 255, 0};
const HeadlessScreen::Rgb kBlue{0, 0, 255};

} // namespace

TEST_F(TrollTest, SwingsWhileTheButtonIsDownAndPausesItsFrames)
{
    paintSolid("troll1.bmp", kRed);
    paintSolid("troll2.bmp", kGreen);
    paintSolid("troll3.bmp", kBlue);
    paintSolid("troll4.bmp", {255, 255, 0});
    Troll& troll = run_->troll;
    troll.load();
    auto trollDrawn = [&] {
        clear_to_color(backBuffer, makecol(0, 0, 0));
        troll.draw(100, 100, 0.0);
        return at(backBuffer, 150, 140);
    };
    EXPECT_EQ(trollDrawn(), kRed);
    troll.startSmash();
    EXPECT_EQ(trollDrawn(), kBlue);
    advance(100);
    EXPECT_EQ(trollDrawn(), (HeadlessScreen::Rgb{255, 255, 0}));
    troll.endSmash();
    EXPECT_EQ(trollDrawn(), kGreen);
    troll.setAnimating(false);
    advance(100);
    EXPECT_EQ(trollDrawn(), kGreen);
}

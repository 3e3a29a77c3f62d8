#include "TrollRunTestFolder.hpp"

namespace {

// The rows in which the word left ink on a black screen.
class PopupTest : public TrollRunTestFolder {
protected:
    void SetUp() override
    {
        TrollRunTestFolder::SetUp();
        popup().loadFont();
    }
    void TearDown() override
    {
        popup().freeFont();
        TrollRunTestFolder::TearDown();
    }

    Popup& popup() { return run_->popup; }

    std::pair<int, int> drawnRows(int y)
    {
        clear_to_color(backBuffer, makecol(0, 0, 0));
        popup().draw(330, y);
        int first = -1, last = -1;
        for (int row = 0; row < 480; ++row)
            for (int x = 0; x < 640; ++x)
                if (!(at(backBuffer, x, row) == Rgb{0, 0, 0})) {
                    if (first < 0)
                        first = row;
                    last = row + 1;
                    break;
                }
        return {first, last};
    }

    // The strongest pixel of the word, to tell its colour.
    Rgb brightest()
    {
        Rgb best{0, 0, 0};
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const Rgb p = at(backBuffer, x, y);
                if (p.r + p.g + p.b > best.r + best.g + best.b)
                    best = p;
            }
        return best;
    }
};

} // namespace

TEST_F(PopupTest, NothingShowsBeforeTheFirstWord)
{
    EXPECT_EQ(drawnRows(200).first, -1);
}

TEST_F(PopupTest, WordRisesTwentyFivePixelsAsItFades)
{
    popup().show(Popup::kHit);
    const auto fresh = drawnRows(200);
    EXPECT_GE(fresh.first, 200);
    EXPECT_LE(fresh.second, 224);

    advance(351); // whole-part alpha 9
    const auto late = drawnRows(200);
    EXPECT_EQ(late.first, fresh.first - 25);

    advance(20);
    EXPECT_EQ(drawnRows(200).first, -1);
    advance(1000);
    EXPECT_EQ(drawnRows(200).first, -1);
}

TEST_F(PopupTest, EachWordHasItsColourAndTheLatestWins)
{
    popup().show(Popup::kHit);
    drawnRows(200);
    EXPECT_EQ(brightest(), (Rgb{220, 0, 50}));
    popup().show(Popup::kMiss);
    drawnRows(200);
    EXPECT_EQ(brightest(), (Rgb{50, 220, 50}));
    popup().show(Popup::kBad);
    drawnRows(200);
    EXPECT_EQ(brightest(), (Rgb{50, 0, 220}));
}

TEST_F(PopupTest, FreedFontDrawsNothingAndFreesOnce)
{
    popup().show(Popup::kHit);
    popup().freeFont();
    popup().freeFont();
    EXPECT_EQ(drawnRows(200).first, -1);
    popup().loadFont();
    EXPECT_NE(drawnRows(200).first, -1);
}

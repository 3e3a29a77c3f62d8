#include "TrollRunTestFolder.hpp"

namespace {

// The rules on a world that stands still: the view at 1000 unless a test
// moves it, every peasant far ahead unless a test places it.
class Rules : public TrollRunTestFolder {
protected:
    void SetUp() override
    {
        TrollRunTestFolder::SetUp();
        run_->reset();
        run_->scroll.stop();
        run_->scroll.setValue(1000);
        run_->spawnPeasants();
        clearPeasants();
        run_->active = true;
    }

    int bursts() const
    {
        int count = 0;
        for (const BloodSplat* b = run_->blood.first(); b; b = b->next)
            ++count;
        return count;
    }
};

// The first and one past the last row in [y1, y2) with a pixel unlike
// `background`, or {-1, -1}.
std::pair<int, int> inkRows(BITMAP* picture, int y1, int y2, HeadlessScreen::Rgb background)
{
    int first = -1, last = -1;
    for (int y = y1; y < y2; ++y)
        for (int x = 0; x < 640; ++x)
            if (!(HeadlessScreen::pixel(picture, x, y) == background)) {
                if (first < 0)
                    first = y;
                last = y + 1;
                break;
            }
    return {first, last};
}

const HeadlessScreen::Rgb kBlack{0, 0, 0};

} // namespace

TEST_F(Rules, SwingReachesMoreThan240AndUpTo349PixelsAheadOfTheView)
{
    TrollRun& r = *run_;
    placePeasant(0, 1240);
    placePeasant(1, 1241);
    placePeasant(2, 1349);
    placePeasant(3, 1350);
    r.smash();
    EXPECT_TRUE(r.peasants[0].isAlive());
    EXPECT_FALSE(r.peasants[1].isAlive());
    EXPECT_FALSE(r.peasants[2].isAlive());
    EXPECT_TRUE(r.peasants[3].isAlive());
    EXPECT_EQ(r.hits, 2);
    EXPECT_EQ(r.combo, 2);
    EXPECT_EQ(r.score, 52 + 54);
    EXPECT_EQ(bursts(), 2);

    // While the troll walks in, reach is measured from the scroll itself.
    r.scroll.setValue(-700);
    placePeasant(4, -400);
    r.smash();
    EXPECT_FALSE(r.peasants[4].isAlive());
}

TEST_F(Rules, HitScoresAndStrengthenByTheRaisedCombo)
{
    TrollRun& r = *run_;
    struct Case {
        int comboBefore, energyBefore, points, energyAfter;
    };
    const Case cases[] = {
        {0, 200, 52, 201},  {23, 200, 98, 201},  {24, 200, 100, 202},
        {49, 200, 150, 203}, {30, 299, 112, 300}, {5, 300, 62, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comboBefore);
        r.combo = c.comboBefore;
        r.energy = c.energyBefore;
        r.score = 1000;
        r.flash.setValue(-40);
        placePeasant(0, 1300);
        r.smash();
        EXPECT_EQ(r.score, 1000 + c.points);
        EXPECT_EQ(r.energy, c.energyAfter);
        EXPECT_EQ(r.combo, c.comboBefore + 1);
        EXPECT_EQ(r.flash.intValue(), 255);
        EXPECT_EQ(r.popup.shownKind(), Popup::kHit);
    }
}

TEST_F(Rules, EmptySwingBreaksTheComboAndCostsTwenty)
{
    TrollRun& r = *run_;
    const int energies[][2] = {{15, 0}, {20, 0}, {21, 1}, {200, 180}};
    for (const auto& [before, after] : energies) {
        r.combo = 9;
        r.energy = before;
        r.smash();
        EXPECT_EQ(r.energy, after);
        EXPECT_EQ(r.combo, 0);
    }
    EXPECT_EQ(r.whiffs, 4);
    EXPECT_EQ(r.popup.shownKind(), Popup::kBad);

    // A body in reach is nobody to hit.
    placePeasant(0, 1300);
    r.peasants[0].squash();
    r.smash();
    EXPECT_EQ(r.whiffs, 5);
    EXPECT_EQ(r.hits, 0);
}

TEST_F(Rules, PeasantPassesOnceWhenItReachesTheTrollWhileTheRunIsOn)
{
    TrollRun& r = *run_;
    r.combo = 5;
    placePeasant(0, 1220);
    r.updatePeasants();
    EXPECT_EQ(r.passed, 0);

    placePeasant(0, 1219);
    r.updatePeasants();
    r.updatePeasants();
    EXPECT_EQ(r.passed, 1);
    EXPECT_EQ(r.energy, 170);
    EXPECT_EQ(r.combo, 0);
    EXPECT_EQ(r.popup.shownKind(), Popup::kMiss);

    // Twenty-nine or less after a pass is nothing.
    for (const auto& [before, after] : {std::pair{60, 30}, std::pair{59, 0}}) {
        r.energy = before;
        placePeasant(1, 1100);
        r.updatePeasants();
        EXPECT_EQ(r.energy, after);
    }

    r.active = false;
    placePeasant(2, 1100);
    r.updatePeasants();
    EXPECT_EQ(r.passed, 3);

    // A squashed peasant is never a pass.
    r.active = true;
    placePeasant(2, 100000);
    placePeasant(3, 1100);
    r.peasants[3].squash();
    r.updatePeasants();
    EXPECT_EQ(r.passed, 3);
}

TEST_F(Rules, PassLineStaysAtTheScreensLeftWhileTheViewStandsStill)
{
    TrollRun& r = *run_;
    r.scroll.setValue(-700);
    placePeasant(0, 220);
    placePeasant(1, 219);
    r.updatePeasants();
    EXPECT_FALSE(r.peasants[0].isDone());
    EXPECT_TRUE(r.peasants[1].isDone());
}

TEST_F(Rules, PeasantFarBehindTheViewComesBackAhead)
{
    TrollRun& r = *run_;
    r.active = false;
    placePeasant(0, 930);
    placePeasant(1, 929);
    r.peasants[1].squash();
    r.updatePeasants();
    EXPECT_EQ(r.peasants[0].x(), 930);
    EXPECT_TRUE(r.peasants[1].isAlive());
    EXPECT_FALSE(r.peasants[1].isDone());
    EXPECT_GE(r.peasants[1].x(), 1800);
    EXPECT_LE(r.peasants[1].x(), 2599);
}

TEST_F(Rules, PauseStopsTheWorldAndResumeSendsBodiesSliding)
{
    TrollRun& r = *run_;
    r.reset();
    r.launchPeasant(0, 2000, -100.0);
    r.launchPeasant(1, 2100, -100.0);
    r.peasants[1].squash();
    r.pause();
    advance(500);
    EXPECT_EQ(r.scroll.intValue(), -700);
    EXPECT_EQ(r.cloudX[0].intValue(), 600);
    EXPECT_EQ(r.peasants[0].x(), 2000);
    EXPECT_EQ(r.flash.intValue(), 255 - 375); // the banner keeps fading

    r.resume();
    advance(500);
    EXPECT_EQ(r.scroll.intValue(), -600);
    EXPECT_EQ(r.cloudX[0].intValue(), 560);
    EXPECT_EQ(r.peasants[0].x(), 1950);
    EXPECT_EQ(r.peasants[1].x(), 2050);
}

TEST_F(Rules, EnergyBarHasOneSegmentPerStartedTenPoints)
{
    paintSolid("barred.bmp", {255, 0, 0});
    paintSolid("bargreen.bmp", {0, 255, 0});
    TrollRun& r = *run_;
    r.loadAssets();
    auto segments = [&](int energy, HeadlessScreen::Rgb colour) {
        r.energy = energy;
        clear_to_color(backBuffer, makecol(0, 0, 0));
        r.drawEnergy();
        int count = 0;
        for (int i = 0; i < 40; ++i)
            count += at(backBuffer, 427 + 5 * i, 455) == colour;
        return count;
    };
    const HeadlessScreen::Rgb red{255, 0, 0}, green{0, 255, 0};
    EXPECT_EQ(segments(200, red), 20);
    EXPECT_EQ(segments(201, red), 21);
    EXPECT_EQ(segments(201, green), 0);
    EXPECT_EQ(segments(300, red), 21);
    EXPECT_EQ(segments(300, green), 9);
    EXPECT_EQ(segments(100000, green), 9);
    EXPECT_EQ(segments(1, red), 1);
    EXPECT_EQ(segments(0, red), 0);
    EXPECT_EQ(segments(-20, red), 0);
}

TEST_F(Rules, ComboBannerGrowsPast99AndFadesWithTheFlash)
{
    TrollRun& r = *run_;
    r.loadAssets();
    auto banner = [&](int combo, int flash) {
        r.combo = combo;
        r.flash.setValue(flash);
        clear_to_color(backBuffer, makecol(0, 0, 0));
        r.drawCombo();
        return inkRows(backBuffer, 0, 480, kBlack);
    };
    EXPECT_EQ(banner(1, 255).first, -1);
    EXPECT_EQ(banner(50, 0).first, -1);
    const auto small = banner(2, 255);
    EXPECT_GE(small.first, 186);
    EXPECT_LE(small.second, 186 + 24);
    const auto ninetyNine = banner(99, 255); // still the small font
    EXPECT_GE(ninetyNine.first, 186);
    EXPECT_LE(ninetyNine.second, 186 + 24);
    const auto big = banner(100, 255);
    EXPECT_GE(big.first, 180);
    EXPECT_LE(big.second, 180 + 36);
    EXPECT_GT(big.second - big.first, small.second - small.first);
    EXPECT_NE(banner(7, 1).first, -1);
}

TEST_F(Rules, ScoreAndPercentageSitInTheirCorners)
{
    TrollRun& r = *run_;
    r.loadAssets();
    r.energy = 200;
    clear_to_color(backBuffer, makecol(255, 255, 255));
    r.drawScore();
    const auto score = inkRows(backBuffer, 0, 480, {255, 255, 255});
    EXPECT_GE(score.first, 10);
    EXPECT_LE(score.second, 34);
    EXPECT_TRUE(anyPixel(backBuffer, 10, 10, 30, 34, kBlack));

    clear_to_color(backBuffer, makecol(255, 255, 255));
    r.barImage.destroy();
    r.barRedImage.destroy();
    r.drawEnergy();
    EXPECT_TRUE(anyPixel(backBuffer, 585, 442, 640, 466, {0, 100, 0}));
    EXPECT_EQ(inkRows(backBuffer, 0, 442, {255, 255, 255}).first, -1);
}

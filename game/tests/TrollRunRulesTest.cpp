#include "TrollRunTestFolder.hpp"

namespace {

// The rules on a world that stands still: the view at 1000, every peasant
// far ahead unless a test places it.
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
};

} // namespace

TEST_F(Rules, SwingHitsEveryLivePeasantMoreThan240AndUpTo349Ahead)
{
    TrollRun& r = *run_;
    const int places[] = {1240, 1241, 1349, 1350};
    for (int i = 0; i < 4; ++i)
        placePeasant(i, places[i]);
    r.smash();
    EXPECT_TRUE(r.peasants[0].isAlive());
    EXPECT_FALSE(r.peasants[1].isAlive());
    EXPECT_FALSE(r.peasants[2].isAlive());
    EXPECT_TRUE(r.peasants[3].isAlive());
    EXPECT_EQ(r.hits, 2);
    EXPECT_EQ(r.combo, 2);
    EXPECT_EQ(r.score, 52 + 54);
    ASSERT_NE(r.blood.first(), nullptr);
    EXPECT_NE(r.blood.first()->next, nullptr); // one burst each

    // A body in reach is nobody to hit.
    placePeasant(4, 1300);
    r.peasants[4].squash();
    r.smash();
    EXPECT_EQ(r.hits, 2);
    EXPECT_EQ(r.whiffs, 1);
}

TEST_F(Rules, HitScoresAndStrengthensByTheRaisedCombo)
{
    TrollRun& r = *run_;
    // combo before, energy before, points, energy after
    const int cases[][4] = {{0, 200, 52, 201},   {23, 200, 98, 201},  {24, 200, 100, 202},
                            {49, 200, 150, 203}, {30, 299, 112, 300}, {5, 300, 62, 300}};
    for (const auto& [comboBefore, energyBefore, points, energyAfter] : cases) {
        SCOPED_TRACE(comboBefore);
        r.combo = comboBefore;
        r.energy = energyBefore;
        r.score = 1000;
        r.flash.setValue(-40);
        placePeasant(0, 1300);
        r.smash();
        EXPECT_EQ(r.score, 1000 + points);
        EXPECT_EQ(r.energy, energyAfter);
        EXPECT_EQ(r.combo, comboBefore + 1);
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
}

TEST_F(Rules, PeasantPassesOnceAndOnlyWhileTheRunIsOn)
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
}

TEST_F(Rules, PeasantFarBehindTheViewComesBackAheadWalking)
{
    TrollRun& r = *run_;
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

TEST_F(Rules, ResumeSendsBodiesSlidingOn)
{
    TrollRun& r = *run_;
    r.launchPeasant(0, 2000, -100.0);
    r.peasants[0].squash();
    r.pause();
    r.resume();
    advance(500);
    EXPECT_EQ(r.peasants[0].x(), 1950);
}

TEST_F(Rules, EnergyBarHasOneSegmentPerStartedTenPoints)
{
    paintSolid("barred.bmp", {255, 0, 0});
    paintSolid("bargreen.bmp", {0, 255, 0});
    TrollRun& r = *run_;
    r.loadAssets();
    auto segments = [&](int energy, Rgb colour) {
        r.energy = energy;
        r.drawEnergy();
        int count = 0;
        for (int i = 0; i < 40; ++i)
            count += at(backBuffer, 427 + 5 * i, 455) == colour;
        return count;
    };
    const Rgb red{255, 0, 0}, green{0, 255, 0};
    EXPECT_EQ(segments(200, red), 20);
    EXPECT_EQ(segments(201, red), 21);
    EXPECT_EQ(segments(300, green), 9);
    EXPECT_EQ(segments(100000, green), 9);
    EXPECT_EQ(segments(0, red), 0);
    EXPECT_EQ(segments(-20, red), 0);
}

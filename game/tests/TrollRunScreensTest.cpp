#include "TrollRunTestFolder.hpp"

namespace {

const HeadlessScreen::Rgb kBannerRed{255, 0, 0};

// The screens around the play loop, over a world set up as a run's.
class Screens : public TrollRunTestFolder {
protected:
    void SetUp() override
    {
        TrollRunTestFolder::SetUp();
        setUpWorld();
        run_->scroll.setValue(1640);
    }

    // Runs a screen with frames of `ms`, recording for every frame the
    // leftmost column of the colour in the banner's rows (-1 for none).
    template <typename Screen>
    std::vector<int> bannerEdges(Screen screen, unsigned ms, Rgb colour)
    {
        std::vector<int> edges;
        screen_.script([&](int, BITMAP* picture) {
            int edge = -1;
            for (int x = 639; x >= 0; --x)
                if (anyPixel(picture, x, 222, x + 1, 258, colour))
                    edge = x;
            edges.push_back(edge);
            return FrameInput{{}, ms};
        });
        screen();
        return edges;
    }
};

} // namespace

TEST_F(Screens, MinigameBannersRunOnTheirOwnClocks)
{
    run_->pause();
    const auto intro = bannerEdges([&] { run_->minigameIntro(); }, 16, kBannerRed);
    ASSERT_EQ(intro.size(), 125u); // two seconds
    EXPECT_EQ(intro[0], -1);       // the word still lies right of the screen
    EXPECT_LT(intro[20], intro[10]);
    EXPECT_EQ(intro[40], intro.back());
    EXPECT_GE(intro.back(), 280);

    const auto lost = bannerEdges([&] { run_->minigameOutcome(false); }, 16, {0, 0, 100});
    ASSERT_EQ(lost.size(), 63u); // just under a second
    EXPECT_EQ(lost.front(), intro.back());

    // A frame longer than the screen ends it after that frame.
    EXPECT_EQ(bannerEdges([&] { run_->minigameIntro(); }, 2000, kBannerRed).size(), 1u);
    EXPECT_EQ(bannerEdges([&] { run_->minigameOutcome(true); }, 1000, kBannerRed).size(), 1u);
}

TEST_F(Screens, GameOverDarkensTheWorldUnderItsBannerAndCountsNoPasses)
{
    TrollRun& r = *run_;
    r.active = false;
    r.scroll.stop(); // the walker passes the troll without falling far behind
    clearPeasants();
    r.launchPeasant(0, r.scroll.intValue() + 230, -100.0);
    const int energy = r.energy;
    std::vector<int> skyRed;
    bool bannerOnTop = false;
    screen_.script([&](int, BITMAP* picture) {
        skyRed.push_back(at(picture, 5, 300).r);
        bannerOnTop = anyPixel(picture, 0, 222, 640, 258, kBannerRed);
        return FrameInput{};
    });
    r.gameOver();
    ASSERT_EQ(skyRed.size(), 125u);
    EXPECT_GT(skyRed.back(), 0); // never wholly black
    EXPECT_LT(skyRed.back(), skyRed.front() / 10);
    EXPECT_TRUE(bannerOnTop);
    EXPECT_EQ(r.passed, 0);
    EXPECT_EQ(r.energy, energy);
    EXPECT_LT(r.peasants[0].x(), r.scroll.intValue() + 220);
}

TEST_F(Screens, ResultsAnnounceOnlyWhatThisRunUnlocksFirst)
{
    TrollRun& r = *run_;
    r.unlockScore1 = 15000;
    r.unlockScore2 = 21000;
    auto lines = [&](int score, bool firstBefore, bool secondBefore) {
        r.score = score;
        setUnlocks(firstBefore, secondBefore);
        std::pair<bool, bool> shown;
        screen_.script([&](int, BITMAP* picture) {
            shown = {anyPixel(picture, 0, 400, 640, 436, {190, 0, 0}),
                     anyPixel(picture, 0, 440, 640, 476, {190, 0, 0})};
            return FrameInput{{KEY_ENTER}};
        });
        r.showResults();
        HeadlessScreen::releaseAll();
        return shown;
    };
    EXPECT_EQ(lines(14999, false, false), std::pair(false, false));
    EXPECT_EQ(lines(15000, false, false), std::pair(true, false));
    EXPECT_EQ(lines(21000, false, false), std::pair(true, true));
    EXPECT_EQ(lines(21000, true, false), std::pair(false, true));
    EXPECT_EQ(lines(30000, true, true), std::pair(false, false));
    EXPECT_FALSE(spinAttackUnlocked() && !fumboAttackUnlocked()); // flags untouched
}

TEST_F(Screens, ResultsWaitForAFreshPressOfActionOrBack)
{
    // Action held from the run: a new press is needed.
    HeadlessScreen::startWithKeys({KEY_SPACE});
    HeadlessScreen::startWithKeys({KEY_SPACE});
    screen_.script(std::vector<FrameInput>{{{KEY_SPACE}}, {}, {{KEY_LCONTROL}}});
    run_->showResults();
    EXPECT_EQ(screen_.framesShown(), 3);
    EXPECT_FALSE(actionPressed()); // the closing press is spent

    HeadlessScreen::releaseAll();
    screen_.script(std::vector<FrameInput>{{{KEY_ESC}}});
    run_->showResults();
    EXPECT_EQ(screen_.framesShown(), 1);
}

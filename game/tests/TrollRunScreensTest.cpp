#include "TrollRunTestFolder.hpp"

#include "framework/SaveFile.hpp"

#include <algorithm>

namespace {

const HeadlessScreen::Rgb kBannerRed{255, 0, 0};

// The screens around the play loop, shown over a world set up as a run's
// and paused as the hand-off pauses it.
class Screens : public TrollRunTestFolder {
protected:
    void SetUp() override
    {
        TrollRunTestFolder::SetUp();
        setUpWorld();
        run_->scroll.setValue(1640);
        setUnlocks(false, false);
    }
    void TearDown() override
    {
        setUnlocks(false, false);
        TrollRunTestFolder::TearDown();
    }

    // The leftmost column in the banner's rows that has the colour, or -1.
    static int bannerLeft(BITMAP* picture, HeadlessScreen::Rgb colour)
    {
        for (int x = 0; x < 640; ++x)
            for (int y = 222; y < 258; ++y)
                if (at(picture, x, y) == colour)
                    return x;
        return -1;
    }

    // Runs a screen with frames of `ms`, recording each frame's banner edge.
    template <typename Screen>
    std::vector<int> bannerEdges(Screen screen, unsigned ms, HeadlessScreen::Rgb colour)
    {
        std::vector<int> edges;
        screen_.script([&](int, BITMAP* picture) {
            edges.push_back(bannerLeft(picture, colour));
            return FrameInput{{}, ms};
        });
        screen();
        return edges;
    }
};

} // namespace

TEST_F(Screens, MinigameBannerSlidesInAndRestsForTwoSeconds)
{
    run_->pause();
    const auto edges = bannerEdges([&] { run_->minigameIntro(); }, 16, kBannerRed);
    ASSERT_EQ(edges.size(), 125u);
    EXPECT_EQ(edges[0], -1); // the word still lies right of the screen
    EXPECT_GT(edges[1], 600);
    EXPECT_LT(edges[20], edges[10]);
    EXPECT_GE(edges.back(), 280);
    EXPECT_LT(edges.back(), 300);
    EXPECT_EQ(edges[40], edges.back());

    EXPECT_EQ(bannerEdges([&] { run_->minigameIntro(); }, 2000, kBannerRed).size(), 1u);
}

TEST_F(Screens, OutcomeShowsWinnerOrNoGoodForAboutASecond)
{
    run_->pause();
    const auto won = bannerEdges([&] { run_->minigameOutcome(true); }, 16, kBannerRed);
    ASSERT_EQ(won.size(), 63u);
    EXPECT_GE(won.front(), 280);
    EXPECT_LT(won.front(), 300);

    const auto lost = bannerEdges([&] { run_->minigameOutcome(false); }, 16, {0, 0, 100});
    ASSERT_EQ(lost.size(), 63u);
    EXPECT_GE(lost.front(), 280);

    EXPECT_EQ(bannerEdges([&] { run_->minigameOutcome(true); }, 1000, kBannerRed).size(), 1u);
}

TEST_F(Screens, GameOverDarkensTheWorldButNotItsBannerAndCountsNoPasses)
{
    TrollRun& r = *run_;
    r.active = false;
    r.scroll.stop(); // so the walker passes the troll without falling far behind
    clearPeasants();
    r.launchPeasant(0, r.scroll.intValue() + 230, -100.0);
    const int energy = r.energy;
    std::vector<int> skyRed;
    std::vector<int> banner;
    screen_.script([&](int, BITMAP* picture) {
        skyRed.push_back(at(picture, 630, 470).r + at(picture, 5, 300).r);
        banner.push_back(bannerLeft(picture, kBannerRed));
        return FrameInput{};
    });
    r.gameOver();
    ASSERT_EQ(skyRed.size(), 125u);
    EXPECT_GT(skyRed.front(), 0);
    EXPECT_LT(skyRed.back(), skyRed.front() / 10);
    EXPECT_GT(*std::min_element(skyRed.begin(), skyRed.end()), 0); // never wholly black
    EXPECT_NE(banner.back(), -1);
    EXPECT_EQ(r.passed, 0);
    EXPECT_EQ(r.energy, energy);
    EXPECT_LT(r.peasants[0].x(), r.scroll.intValue() + 220);
}

namespace {

struct UnlockLines {
    bool first, second;
    bool operator==(const UnlockLines& o) const { return first == o.first && second == o.second; }
};

} // namespace

TEST_F(Screens, ResultsAnnounceOnlyWhatThisRunUnlocksFirst)
{
    TrollRun& r = *run_;
    r.unlockScore1 = 15000;
    r.unlockScore2 = 21000;
    auto linesFor = [&](int score, bool firstBefore, bool secondBefore) {
        r.score = score;
        setUnlocks(firstBefore, secondBefore);
        UnlockLines lines{};
        screen_.script([&](int, BITMAP* picture) {
            lines.first = anyPixel(picture, 0, 400, 640, 436, {190, 0, 0});
            lines.second = anyPixel(picture, 0, 440, 640, 476, {190, 0, 0});
            return FrameInput{{KEY_ENTER}};
        });
        r.showResults();
        EXPECT_EQ(screen_.framesShown(), 1);
        EXPECT_EQ(fumboAttackUnlocked(), firstBefore); // the run sets them later
        HeadlessScreen::releaseAll();
        return lines;
    };
    EXPECT_EQ(linesFor(14999, false, false), (UnlockLines{false, false}));
    EXPECT_EQ(linesFor(15000, false, false), (UnlockLines{true, false}));
    EXPECT_EQ(linesFor(21000, false, false), (UnlockLines{true, true}));
    EXPECT_EQ(linesFor(21000, true, false), (UnlockLines{false, true}));
    EXPECT_EQ(linesFor(30000, true, true), (UnlockLines{false, false}));
}

TEST_F(Screens, ResultsWaitForAFreshPressOfActionOrBack)
{
    // Action held from the run: a new press is needed.
    HeadlessScreen::startWithKeys({KEY_SPACE});
    HeadlessScreen::startWithKeys({KEY_SPACE});
    screen_.script(std::vector<FrameInput>{{{KEY_SPACE}}, {{KEY_SPACE}}, {}, {{KEY_LCONTROL}}});
    run_->showResults();
    EXPECT_EQ(screen_.framesShown(), 4);
    EXPECT_FALSE(actionPressed()); // the closing press is spent

    // Back closes on its press.
    HeadlessScreen::releaseAll();
    screen_.script(std::vector<FrameInput>{{{KEY_ESC}}});
    run_->showResults();
    EXPECT_EQ(screen_.framesShown(), 1);

    // A press at the last frame end of the screen before closes it at once.
    HeadlessScreen::releaseAll();
    HeadlessScreen::startWithKeys({KEY_ENTER});
    screen_.script(std::vector<FrameInput>{});
    run_->showResults();
    EXPECT_EQ(screen_.framesShown(), 0);
}

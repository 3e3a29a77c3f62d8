#include "TrollRunTestFolder.hpp"

#include "framework/SaveFile.hpp"

#include <fstream>
#include <optional>
#include <sstream>

namespace {

// Whole runs through the real screens: instructions, play, minigame,
// banners, game over and results, driven by scripted keys.
class Driver : public TrollRunTestFolder {
protected:
    // Once the play loop is over, back is pressed every other frame: the
    // game-over fade ignores it and the results close on it.
    static FrameInput closeResults(int frame)
    {
        return frame % 2 ? FrameInput{{KEY_ESC}} : FrameInput{};
    }

    // Swings whenever a live peasant walks well inside the troll's reach.
    FrameInput swingAtPeasants()
    {
        const int s = run_->scroll.intValue();
        bool inReach = false;
        for (const Peasant& p : run_->peasants)
            inReach = inReach || (p.isAlive() && p.x() - s > 250 && p.x() - s <= 340);
        swinging_ = inReach && !swinging_;
        return swinging_ ? FrameInput{{KEY_SPACE}} : FrameInput{};
    }

    static std::optional<std::string> saveFile()
    {
        std::ifstream in("save.dat");
        if (!in)
            return std::nullopt;
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // A run that the player leaves with back at `frame`, with the score set
    // to `score` at that moment.
    void runLeftAt(int leaveFrame, std::optional<int> score = std::nullopt)
    {
        screen_.script([=](int frame, BITMAP*) {
            if (!run_->active)
                return closeResults(frame);
            if (frame == leaveFrame && score)
                run_->score = *score;
            if (frame == 0)
                return FrameInput{{KEY_SPACE}};
            return frame == leaveFrame ? FrameInput{{KEY_ESC}} : FrameInput{};
        });
        run_->run();
    }

    // A run in which the player leaves the instructions and never swings.
    void runWithoutSwinging()
    {
        screen_.script([&](int frame, BITMAP*) {
            if (!run_->active)
                return closeResults(frame);
            return frame == 0 ? FrameInput{{KEY_SPACE}} : FrameInput{};
        });
        run_->run();
    }

    bool swinging_ = false;
};

} // namespace

TEST_F(Driver, BackReleaseEndsTheRunAndFreesItsAssets)
{
    TrollRun& r = *run_;
    // Action pressed to leave the instructions and held on: no swing.
    std::vector<FrameInput> frames(20, FrameInput{{KEY_SPACE}});
    frames.push_back({{KEY_ESC}}); // back held down does not end it yet
    frames.push_back({{KEY_ESC}});
    frames.push_back({});
    int framesInPlay = 0;
    screen_.script([&](int frame, BITMAP*) {
        if (!r.active)
            return closeResults(frame);
        framesInPlay = frame + 1;
        return frame < static_cast<int>(frames.size()) ? frames[frame] : FrameInput{};
    });
    r.run();
    EXPECT_EQ(framesInPlay, 23);
    EXPECT_EQ(r.whiffs, 0);
    EXPECT_GT(r.energy, 0);
    EXPECT_FALSE(r.active);
    EXPECT_EQ(r.ground, nullptr);
    EXPECT_EQ(r.sky, nullptr);
    EXPECT_EQ(r.bigFont, nullptr);
    EXPECT_EQ(r.hillImage.width(), 0);
    EXPECT_FALSE(saveFile());
    // Game over (125 frames of 16 ms) followed, then at most one results
    // frame: a press at the fade's last frame end closes them unseen.
    EXPECT_GE(screen_.framesShown(), 23 + 125);
    EXPECT_LE(screen_.framesShown(), 23 + 125 + 1);
}

TEST_F(Driver, RunEndsWhenPeasantsWalkingPastUseUpTheStrength)
{
    runWithoutSwinging();
    EXPECT_EQ(run_->energy, 0);
    EXPECT_GE(run_->passed, 6); // 200 less 30 a pass, and 29 or less is nothing
    EXPECT_EQ(run_->hits, 0);
    EXPECT_FALSE(saveFile());
}

TEST_F(Driver, FinalScoreUnlocksTheExtraModesAndSavesThem)
{
    runLeftAt(5, 14999);
    EXPECT_FALSE(saveFile());
    EXPECT_FALSE(fumboAttackUnlocked());

    runLeftAt(5, 15000);
    EXPECT_EQ(saveFile(), "1 0");
    EXPECT_TRUE(fumboAttackUnlocked());
    EXPECT_FALSE(spinAttackUnlocked());

    runLeftAt(5, 21000);
    EXPECT_EQ(saveFile(), "1 1");

    // Reaching only the first threshold keeps the second mode unlocked.
    runLeftAt(5, 15000);
    EXPECT_EQ(saveFile(), "1 1");
    EXPECT_TRUE(spinAttackUnlocked());
}

TEST_F(Driver, FlagHandsOffToAMinigameAndScoresItsOutcome)
{
    TrollRun& r = *run_;
    std::optional<int> energyBefore, scoreBefore, energyAfter, scoreAfter;
    screen_.script([&](int frame, BITMAP*) {
        if (frame == 0)
            return FrameInput{{KEY_SPACE}};
        if (!r.active)
            return closeResults(frame);
        if (r.nextMinigameX > 1920) { // back from the minigame: leave the run
            if (!energyAfter) {
                energyAfter = r.energy;
                scoreAfter = r.score;
            }
            return closeResults(frame);
        }
        if (r.scroll.intValue() + 280 >= r.nextMinigameX) {
            if (!energyBefore) {
                energyBefore = r.energy;
                scoreBefore = r.score;
            }
            return closeResults(frame); // a back release ends the minigame lost
        }
        return swingAtPeasants();
    });
    r.run();
    ASSERT_TRUE(energyBefore && energyAfter);
    EXPECT_GT(r.hits, 0);
    EXPECT_EQ(*energyAfter, *energyBefore - 40);
    EXPECT_EQ(*scoreAfter, *scoreBefore);
    EXPECT_EQ(r.nextMinigameX, 1920 + 2560);
    EXPECT_EQ(r.scroll.speed(), 250.0);
}

TEST_F(Driver, RunWithoutFontOrPicturesStillPlaysToItsEnd)
{
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::current_path()))
        std::filesystem::remove(entry.path());
    runWithoutSwinging();
    EXPECT_EQ(run_->energy, 0);
    EXPECT_GE(run_->passed, 6);
}

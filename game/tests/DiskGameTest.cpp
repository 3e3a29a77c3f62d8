#include "MinigameTestFolder.hpp"

#include "framework/Counter.hpp"
#include "game/DiskGame.hpp"

#include <vector>

namespace {

using Rgb = HeadlessScreen::Rgb;
using Keys = std::vector<int>;

const Rgb kDisk{0, 0, 255};
const Rgb kArrow{255, 0, 0};

// The disk solid blue (200 by 200, centred on 240, 240), the arrow solid red
// (100 by 60, left edge at x 400 while waiting, 380 after the press).
class DiskGameTest : public MinigameTestFolder {
protected:
    void SetUp() override
    {
        MinigameTestFolder::SetUp();
        paintSolid("disk.bmp", kDisk);
        paintSolid("arrow.bmp", kArrow);
    }

    bool play(int level, HeadlessScreen::Step step, Keys titleKeys = {})
    {
        return playScripted(game_, level, step, titleKeys);
    }

    // Lets the disk turn for `ms` in play frame 0 and presses action so that
    // play frame 1 sees the press, then runs out the time in 100 ms frames.
    bool pressAfter(int level, unsigned ms)
    {
        return play(level, [ms](int frame, BITMAP*) {
            return frame == 0 ? FrameInput{{KEY_SPACE}, ms} : FrameInput{{}, 100};
        });
    }

    DiskGame game_;
};

// The disk's corner pixels move as it turns; a frozen disk draws the same.
std::vector<bool> diskOutline(BITMAP* picture)
{
    std::vector<bool> outline;
    for (int y = 120; y < 360; y += 3)
        for (int x = 120; x < 360; x += 3)
            outline.push_back(HeadlessScreen::pixel(picture, x, y) == kDisk);
    return outline;
}

} // namespace

TEST_F(DiskGameTest, ThePressWinsNearTheRestingPosition)
{
    // Level 1 turns the disk at 307 units per second.
    const std::pair<unsigned, bool> cases[] = {
        {1, true},    // 0.3: whole 0
        {45, true},   // 13.8
        {46, false},  // 14.1
        {805, false}, // 247.1
        {808, true},  // 248.1
        {831, true},  // 255.1, judged before the wrap
    };
    for (auto [ms, wins] : cases) {
        SCOPED_TRACE(ms);
        EXPECT_EQ(pressAfter(1, ms), wins);
        // 1000 less 153 per second, then 915 per second: about 1 s of 100 ms frames.
        EXPECT_LE(playFrames_, 2 + 11);
        EXPECT_EQ(runningCounters.head(), nullptr);
    }
}

TEST_F(DiskGameTest, TheWrapTakesOff255)
{
    // 255.1 becomes 0.1: another 14.1 then loses, where 256 would have left 13.1.
    EXPECT_FALSE(play(1, [](int frame, BITMAP*) {
        if (frame == 0)
            return FrameInput{{}, 831};
        return frame == 1 ? FrameInput{{KEY_SPACE}, 46} : FrameInput{{}, 100};
    }));
    EXPECT_TRUE(play(1, [](int frame, BITMAP*) {
        if (frame == 0)
            return FrameInput{{}, 831};
        return frame == 1 ? FrameInput{{KEY_SPACE}, 45} : FrameInput{{}, 100};
    }));
    // 254.8 is left alone, so 20 more stand at 274.8, past the window's start.
    EXPECT_TRUE(play(1, [](int frame, BITMAP*) {
        if (frame == 0)
            return FrameInput{{}, 830};
        return frame == 1 ? FrameInput{{KEY_SPACE}, 65} : FrameInput{{}, 100};
    }));
}

TEST_F(DiskGameTest, OnlyTheFirstPressCountsAndTheDiskStaysWhereItStopped)
{
    std::vector<std::vector<bool>> disks;
    std::vector<bool> arrowMoved;
    const bool won = play(1, [&](int frame, BITMAP* picture) {
        disks.push_back(diskOutline(picture));
        arrowMoved.push_back(has(picture, 390, 240, kArrow) && !has(picture, 490, 240, kArrow));
        if (frame == 0)
            return FrameInput{{KEY_SPACE}, 805}; // 247.1: a losing press
        if (frame == 2)
            return FrameInput{{KEY_SPACE}, 16}; // the disk has not moved into the window
        return FrameInput{{}, 16};
    });
    EXPECT_FALSE(won);
    EXPECT_FALSE(arrowMoved[0]);
    EXPECT_TRUE(arrowMoved[1]);
    EXPECT_TRUE(arrowMoved.back());
    EXPECT_NE(disks[0], disks[1]);
    for (std::size_t frame = 2; frame < disks.size(); ++frame)
        EXPECT_EQ(disks[frame], disks[1]) << "frame " << frame;
}

TEST_F(DiskGameTest, AButtonHeldThroughTheTitleIsNoPress)
{
    std::vector<std::vector<bool>> disks;
    bool arrowWaited = true;
    const bool won = play(1,
                          [&](int, BITMAP* picture) {
                              disks.push_back(diskOutline(picture));
                              arrowWaited = arrowWaited && has(picture, 490, 240, kArrow);
                              return FrameInput{{KEY_SPACE}, 100};
                          },
                          {KEY_SPACE});
    EXPECT_FALSE(won);
    // 1000 at 153 per second.
    EXPECT_EQ(playFrames_, 66);
    EXPECT_TRUE(arrowWaited);
    EXPECT_NE(disks[disks.size() - 2], disks.back()) << "the disk turns to the end";
}

TEST_F(DiskGameTest, LevelSetsTheTurnAndTheClock)
{
    // 382 ms: 245.6 at 643 units per second, 248.3 at the cap of 650.
    EXPECT_FALSE(pressAfter(49, 382));
    EXPECT_TRUE(pressAfter(50, 382));
    // 376 ms at the cap: 244.4, short of the window.
    EXPECT_FALSE(pressAfter(255, 376));
    // 1000 at 915 per second from the start.
    EXPECT_FALSE(play(255, [](int, BITMAP*) { return FrameInput{{}, 100}; }));
    EXPECT_EQ(playFrames_, 11);
}

TEST_F(DiskGameTest, ReleasingBackEndsThePlayAndKeepsTheVerdict)
{
    EXPECT_TRUE(play(1, [](int frame, BITMAP*) {
        if (frame == 0)
            return FrameInput{{KEY_SPACE}, 1};
        return frame == 1 ? FrameInput{{KEY_ESC}} : FrameInput{};
    }));
    EXPECT_EQ(playFrames_, 3);
    EXPECT_FALSE(play(
        1, [](int frame, BITMAP*) { return frame < 5 ? FrameInput{{KEY_ESC}} : FrameInput{}; }));
    EXPECT_EQ(playFrames_, 6);
}

TEST_F(DiskGameTest, MissingPicturesAndFontLeaveTheScreenBlankButThePlayRuns)
{
    remove("disk.bmp");
    remove("arrow.bmp");
    remove("carbon.ttf");
    EXPECT_TRUE(pressAfter(1, 1));
}

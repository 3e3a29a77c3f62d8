#include "MinigameTestFolder.hpp"

#include "framework/Counter.hpp"
#include "game/FireGame.hpp"

#include <algorithm>
#include <vector>

namespace {

using Rgb = HeadlessScreen::Rgb;
using Keys = std::vector<int>;

const Rgb kTarget{0, 0, 255};
const Rgb kFalling{0, 255, 0};
const Rgb kPlatform{128, 128, 128};
const Rgb kIdle{255, 255, 0};
const Rgb kAction{0, 255, 255};
const Rgb kFireball{255, 128, 0};
const Rgb kLava{200, 0, 0};
const Rgb kBridge{100, 50, 0};
const Rgb kIcon{255, 0, 128};

constexpr int kShotRow = 265;

// Every picture solid in a colour of its own, at its real size: the target
// 40 by 64, the platform 120 by 30, the breather 136 by 100, the fireball
// 48 by 30, the ammo icon 32 by 32.
class FireGameTest : public MinigameTestFolder {
protected:
    void SetUp() override
    {
        MinigameTestFolder::SetUp();
        paintSolid("fumbo1.bmp", kTarget);
        paintSolid("fumbo2.bmp", kFalling);
        paintSolid("fumboplat.bmp", kPlatform);
        paintSolid("grumoka.bmp", kIdle);
        paintSolid("grumokb.bmp", kAction);
        paintSolid("fireball.bmp", kFireball);
        paintSolid("lava.bmp", kLava);
        paintSolid("bridge.bmp", kBridge);
        paintSolid("fire.bmp", kIcon);
    }

    bool play(int level, HeadlessScreen::Step step, Keys titleKeys = {})
    {
        return playScripted(game_, level, step, titleKeys);
    }

    FireGame game_;
};

// Bit i is set when the icon of slot i is drawn.
int iconsShown(BITMAP* picture)
{
    int shown = 0;
    for (int slot = 0; slot < 3; ++slot)
        if (HeadlessScreen::pixel(picture, 516 + 40 * slot, 26) == kIcon)
            shown |= 1 << slot;
    return shown;
}

const Rgb kWhite{255, 255, 255};

bool rowsHave(BITMAP* picture, int fromY, int toY, Rgb colour)
{
    for (int y = fromY; y <= toY; ++y)
        for (int x = 0; x < 640; ++x)
            if (HeadlessScreen::pixel(picture, x, y) == colour)
                return true;
    return false;
}

// A shot is drawn at x 480 only in the frame that fires it.
bool shotJustFired(BITMAP* picture)
{
    return HeadlessScreen::pixel(picture, 520, kShotRow) == kFireball;
}

// The top row of a picture's colour in one column, or -1.
int topOf(BITMAP* picture, int x, Rgb colour)
{
    for (int y = 0; y < 480; ++y)
        if (HeadlessScreen::pixel(picture, x, y) == colour)
            return y;
    return -1;
}

// Press back in `frame` and let go in the next: the play ends after it.
FrameInput backOutAt(int frame, int now, FrameInput otherwise = {})
{
    if (now == frame)
        return {{KEY_ESC}};
    return otherwise;
}

// Level 1: the platform falls at 254 px/s from y 100 and a shot flies left at
// 604 px/s from x 480. A press held at the end of play frame 0 fires in frame
// 1; after 149 + 560 ms the platform stands at y 280 and the shot at x 141,
// so the target (rows 216 to 280) meets the shot (rows 250 to 280).
FrameInput hitScript(int frame)
{
    if (frame == 0)
        return {{KEY_SPACE}, 149};
    if (frame == 1)
        return {{}, 560};
    return {{}, 100};
}

} // namespace

TEST_F(FireGameTest, TitleCardShowsAboutOneSecondBeforeThePlay)
{
    int firstPlayFrame = -1;
    bool titleInPlace = true;
    screen_.script(
        [&](int frame, BITMAP* picture) {
            if (firstPlayFrame < 0 && has(picture, 5, 475, kLava))
                firstPlayFrame = frame;
            if (firstPlayFrame < 0)
                titleInPlace = titleInPlace && rowsHave(picture, 228, 251, kWhite)
                               && !rowsHave(picture, 0, 227, kWhite)
                               && !rowsHave(picture, 252, 479, kWhite);
            return frame == firstPlayFrame ? FrameInput{{KEY_ESC}} : FrameInput{};
        },
        200);
    game_.load();
    game_.play(1);
    game_.unload();
    // 2 - 63 * 0.016 is the first value whose whole part is 0.
    EXPECT_EQ(firstPlayFrame, 63);
    EXPECT_TRUE(titleInPlace);
}

TEST_F(FireGameTest, LevelDecidesHowManyShotsThereAre)
{
    const std::pair<int, int> cases[] = {{1, 0b111},  {14, 0b111}, {15, 0b110},
                                         {29, 0b110}, {30, 0b100}, {255, 0b100}};
    for (auto [level, icons] : cases) {
        SCOPED_TRACE(level);
        int shown = -1;
        const bool won = play(level, [&](int frame, BITMAP* picture) {
            if (frame == 0)
                shown = iconsShown(picture);
            return backOutAt(0, frame);
        });
        EXPECT_EQ(shown, icons);
        EXPECT_FALSE(won);
    }
}

TEST_F(FireGameTest, APressHeldDownFiresOneShot)
{
    std::vector<int> icons;
    int shotsFired = 0;
    play(1, [&](int frame, BITMAP* picture) {
        icons.push_back(iconsShown(picture));
        shotsFired += shotJustFired(picture);
        return frame < 20 ? FrameInput{{KEY_SPACE}} : backOutAt(20, frame);
    });
    EXPECT_EQ(shotsFired, 1);
    // Fired in frame 1; its icon is gone from the next frame on.
    EXPECT_EQ(icons[1], 0b111);
    EXPECT_EQ(icons[2], 0b110);
    EXPECT_EQ(icons.back(), 0b110);
}

TEST_F(FireGameTest, EveryPressFiresTheNextShotUntilNoneIsLeft)
{
    int shotsFired = 0;
    std::vector<Rgb> breather;
    play(1, [&](int frame, BITMAP* picture) {
        shotsFired += shotJustFired(picture);
        breather.push_back(HeadlessScreen::pixel(picture, 600, 220));
        if (frame < 8)
            return frame % 2 == 0 ? FrameInput{{KEY_SPACE}} : FrameInput{};
        return backOutAt(8, frame);
    });
    EXPECT_EQ(shotsFired, 3);
    // The fourth press fires nothing but still shows the breathing picture.
    EXPECT_EQ(breather[7], kAction);
    EXPECT_EQ(breather[8], kIdle);
}

TEST_F(FireGameTest, AButtonHeldThroughTheTitleIsNoPress)
{
    int shotsFired = 0;
    int icons = 0;
    Rgb breather{};
    play(1,
         [&](int frame, BITMAP* picture) {
             shotsFired += shotJustFired(picture);
             icons = iconsShown(picture);
             breather = HeadlessScreen::pixel(picture, 600, 220);
             return frame < 10 ? FrameInput{{KEY_SPACE}} : backOutAt(10, frame);
         },
         {KEY_SPACE});
    EXPECT_EQ(shotsFired, 0);
    EXPECT_EQ(icons, 0b111);
    EXPECT_EQ(breather, kIdle);
}

TEST_F(FireGameTest, AHitTargetFallsWhileThePlayRunsToItsEnd)
{
    std::vector<int> fallingTop, platformTop;
    std::vector<bool> shotLeft;
    const bool won = play(1, [&](int frame, BITMAP* picture) {
        fallingTop.push_back(topOf(picture, 160, kFalling));
        platformTop.push_back(topOf(picture, 105, kPlatform));
        shotLeft.push_back(has(picture, 90, kShotRow, kFireball)
                           || has(picture, 2, kShotRow, kFireball));
        return hitScript(frame);
    });
    EXPECT_TRUE(won);
    // 1000 time units at 204 per second: 709 ms, then 42 frames of 100 ms.
    EXPECT_EQ(playFrames_, 44);

    EXPECT_EQ(fallingTop[2], -1);
    EXPECT_EQ(fallingTop[3], 216);
    EXPECT_LT(fallingTop[4], 216) << "the fall starts upwards";
    EXPECT_EQ(fallingTop.back(), -1) << "the target has fallen off the screen";
    for (int frame = 2; frame < playFrames_; ++frame)
        EXPECT_EQ(platformTop[frame], 280) << "platform frozen, frame " << frame;

    // The shot flies on past the target (x 81, 21, -39) and is gone below -48.
    EXPECT_TRUE(shotLeft[3]);
    EXPECT_TRUE(shotLeft[5]);
    EXPECT_FALSE(shotLeft[6]);
    EXPECT_EQ(runningCounters.head(), nullptr) << "a value of the play still moves";
}

TEST_F(FireGameTest, AShotThatMissesLosesWhenTheTimeRunsOut)
{
    bool everFell = false;
    const bool won = play(1, [&](int frame, BITMAP* picture) {
        everFell = everFell || topOf(picture, 160, kFalling) >= 0;
        // The platform is 149 ms higher than in the hit: rows 178 to 242.
        return frame == 0 ? FrameInput{{KEY_SPACE}, 0} : hitScript(frame);
    });
    EXPECT_FALSE(won);
    EXPECT_FALSE(everFell);
}

TEST_F(FireGameTest, ReleasingBackEndsThePlayAndKeepsAHit)
{
    // Held back does not end it; the release does.
    bool won = play(
        1, [&](int frame, BITMAP*) { return frame < 10 ? FrameInput{{KEY_ESC}} : FrameInput{}; });
    EXPECT_FALSE(won);
    EXPECT_EQ(playFrames_, 11);

    won = play(1, [&](int frame, BITMAP*) { return backOutAt(3, frame, hitScript(frame)); });
    EXPECT_TRUE(won);
    EXPECT_EQ(playFrames_, 5);
}

TEST_F(FireGameTest, LevelSpeedsUpTheClockAndThePlatform)
{
    std::vector<int> tops;
    EXPECT_FALSE(play(1, [&](int, BITMAP* picture) {
        tops.push_back(topOf(picture, 105, kPlatform));
        return FrameInput{{}, 100};
    }));
    // 1000 at 204 per second, 100 ms a frame.
    EXPECT_EQ(playFrames_, 49);
    // Down at 25.4 px a frame from 100, turned once it has passed 400.
    EXPECT_EQ(tops[0], 100);
    const auto lowest = std::max_element(tops.begin(), tops.end());
    EXPECT_EQ(*lowest, 404);
    EXPECT_EQ(*(lowest + 1), 379);
    EXPECT_GE(*std::min_element(lowest, tops.end()), 100 - 26);

    EXPECT_FALSE(play(30, [](int, BITMAP*) { return FrameInput{{}, 100}; }));
    // 1000 at 320 per second.
    EXPECT_EQ(playFrames_, 32);
}

TEST_F(FireGameTest, EveryPlayStartsAfresh)
{
    EXPECT_TRUE(play(1, [](int frame, BITMAP*) { return hitScript(frame); }));
    int icons = 0;
    bool standing = false;
    EXPECT_FALSE(play(1, [&](int frame, BITMAP* picture) {
        if (frame == 0) {
            icons = iconsShown(picture);
            standing = topOf(picture, 160, kTarget) == 36;
        }
        return FrameInput{{}, 100};
    }));
    EXPECT_EQ(icons, 0b111);
    EXPECT_TRUE(standing);
}

TEST_F(FireGameTest, MissingPicturesAndFontLeaveGapsButThePlayRuns)
{
    remove("lava.bmp");
    remove("bridge.bmp");
    remove("carbon.ttf");
    EXPECT_FALSE(play(1, [](int, BITMAP*) { return FrameInput{{}, 100}; }));
    EXPECT_EQ(playFrames_, 49);
    game_.unload(); // a second unload is harmless
}

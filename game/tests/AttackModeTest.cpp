#include "MinigameTestFolder.hpp"

#include "framework/Buttons.hpp"
#include "game/AttackMode.hpp"

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using Rgb = HeadlessScreen::Rgb;
using Keys = std::vector<int>;
using Pixels = std::vector<int>;

const Rgb kDisk{0, 0, 255};
const Rgb kLava{200, 0, 0};
constexpr int kFireKind = 0;
constexpr int kDiskKind = 1;
constexpr int kCardTop = 222;
constexpr int kCardHeight = 36;

Pixels readArea(BITMAP* picture, int left, int top, int width, int height)
{
    Pixels area;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            area.push_back(getpixel(picture, x, y));
    return area;
}

// Tells the screens of a series apart by what they draw: a card by its line
// of text as the card itself would draw it, a play by its disk or its lava,
// and the disk minigame's level by the time its second frame shows.
class SeriesReader {
public:
    SeriesReader()
    {
        cardFont_ = text_font_load("carbon.ttf");
        text_font_set_height(cardFont_, 36);
        timeFont_ = text_font_load("carbon.ttf");
        text_font_set_height(timeFont_, 24);
    }
    ~SeriesReader()
    {
        text_font_destroy(cardFont_);
        text_font_destroy(timeFont_);
    }

    void expectCard(const char* format, int number)
    {
        BITMAP* strip = create_bitmap(640, kCardHeight);
        clear_to_color(strip, makecol(0, 0, 0));
        draw_textf_smooth_centred_bg(strip, cardFont_, 320, 0, makecol(255, 255, 255),
                                     makecol(0, 0, 0), format, number);
        char label[64];
        std::snprintf(label, sizeof label, format, number);
        cards_[readArea(strip, 0, 0, 640, kCardHeight)] = label;
        destroy_bitmap(strip);
    }

    // The time that a disk play's second frame shows after a first frame of
    // one second at this level: 1000 less 150 + 3 × level.
    void expectDiskLevels(int upTo)
    {
        for (int level = 1; level <= upTo; ++level) {
            BITMAP* corner = create_bitmap(200, 50);
            clear_to_color(corner, makecol(0, 0, 0));
            draw_textf_sharp_bg(corner, timeFont_, 10, 10, makecol(255, 255, 255), makecol(0, 0, 0),
                                "TIME: %d", 1000 - (150 + 3 * level));
            levels_[readArea(corner, 0, 0, 200, 50)] = level;
            destroy_bitmap(corner);
        }
    }

    // "play", "title" or the card's text.
    std::string read(BITMAP* picture) const
    {
        if (HeadlessScreen::pixel(picture, 240, 160) == kDisk
            || HeadlessScreen::pixel(picture, 5, 475) == kLava)
            return "play";
        const auto card = cards_.find(readArea(picture, 0, kCardTop, 640, kCardHeight));
        return card == cards_.end() ? "title" : card->second;
    }

    int level(BITMAP* picture) const
    {
        const auto found = levels_.find(readArea(picture, 0, 0, 200, 50));
        return found == levels_.end() ? 0 : found->second;
    }

private:
    TextFont* cardFont_;
    TextFont* timeFont_;
    std::map<Pixels, std::string> cards_;
    std::map<Pixels, int> levels_;
};

// The closing card's frames hold the keys of the play's last frame for two
// frames, let go for one, then press `closeKeys`.
FrameInput closingCardInput(int frame, const Keys& lastPlayKeys, const Keys& closeKeys)
{
    if (frame < 2)
        return {lastPlayKeys, 500};
    return {frame == 2 ? Keys{} : closeKeys, 500};
}

// Plays a series in which the disk minigame wins the first `wins` stages and
// loses the next; every card and title frame lasts 500 ms. The screens seen
// go to `screens`, one entry per run of frames, and each play's level to
// `levels`; the last frame of the lost play ends with `lastPlayKeys` down.
class AttackModeTest : public MinigameTestFolder {
protected:
    void SetUp() override
    {
        MinigameTestFolder::SetUp();
        paintSolid("disk.bmp", kDisk);
        paintSolid("lava.bmp", kLava);
        reader_.emplace();
    }

    void TearDown() override
    {
        reader_.reset();
        MinigameTestFolder::TearDown();
    }

    void runSeries(int kind, int wins, Keys lastPlayKeys = {}, Keys closeKeys = {KEY_SPACE})
    {
        int playFrame = 0;
        int played = 0;
        screen_.script(
            [&](int, BITMAP* picture) {
                const std::string seen = reader_->read(picture);
                if (screens_.empty() || screens_.back() != seen)
                    screens_.push_back(seen);
                if (seen != "play") {
                    playFrame = 0;
                    if (seen.rfind("TOTAL", 0) == 0)
                        return closingCardInput(cardFrames_++, lastPlayKeys, closeKeys);
                    return FrameInput{{}, 500};
                }
                if (playFrame++ == 0)
                    return FrameInput{played++ < wins ? Keys{KEY_SPACE} : Keys{}, 1000};
                levels_.push_back(reader_->level(picture));
                return FrameInput{lastPlayKeys, 10000};
            },
            8 * (wins + 2) + 10);
        runAttackMode(kind);
    }

    // Made once the test folder with the font is entered.
    std::optional<SeriesReader> reader_;
    std::vector<std::string> screens_;
    std::vector<int> levels_;
    int cardFrames_ = 0;
};

} // namespace

TEST_F(AttackModeTest, LosingTheFirstStageShowsOneStage)
{
    reader_->expectCard("STAGE %d", 1);
    reader_->expectCard("TOTAL STAGES: %d", 1);
    reader_->expectDiskLevels(1);
    runSeries(kDiskKind, 0);
    EXPECT_EQ(screens_, (std::vector<std::string>{"STAGE 1", "title", "play", "TOTAL STAGES: 1"}));
    EXPECT_EQ(levels_, std::vector<int>{1});
}

TEST_F(AttackModeTest, TheClosingCardCountsTheLostStage)
{
    for (int stage = 1; stage <= 3; ++stage)
        reader_->expectCard("STAGE %d", stage);
    reader_->expectCard("TOTAL STAGES: %d", 3);
    reader_->expectDiskLevels(3);
    runSeries(kDiskKind, 2);
    EXPECT_EQ(screens_,
              (std::vector<std::string>{"STAGE 1", "title", "play", "STAGE 2", "title", "play",
                                        "STAGE 3", "title", "play", "TOTAL STAGES: 3"}));
    EXPECT_EQ(levels_, (std::vector<int>{1, 2, 3}));
}

TEST_F(AttackModeTest, TheLevelStopsRisingAt255)
{
    reader_->expectCard("TOTAL STAGES: %d", 300);
    reader_->expectDiskLevels(255);
    runSeries(kDiskKind, 299);
    ASSERT_EQ(levels_.size(), 300u);
    EXPECT_EQ(levels_[253], 254);
    EXPECT_EQ(levels_[254], 255);
    EXPECT_EQ(levels_[299], 255);
    EXPECT_EQ(screens_.back(), "TOTAL STAGES: 300");
}

TEST_F(AttackModeTest, TheFireSeriesPlaysTheFireMinigame)
{
    reader_->expectCard("STAGE %d", 1);
    reader_->expectCard("TOTAL STAGES: %d", 1);
    runSeries(kFireKind, 0);
    EXPECT_EQ(screens_, (std::vector<std::string>{"STAGE 1", "title", "play", "TOTAL STAGES: 1"}));
}

TEST_F(AttackModeTest, OnlyANewPressClosesTheClosingCardAndNothingFollowsIt)
{
    reader_->expectCard("TOTAL STAGES: %d", 1);
    // Action pressed in the play's last frame and held through two card
    // frames, then let go, then pressed anew.
    runSeries(kDiskKind, 0, {KEY_SPACE}, {KEY_SPACE});
    EXPECT_EQ(screens_.back(), "TOTAL STAGES: 1");
    EXPECT_EQ(cardFrames_, 4);
    EXPECT_TRUE(actionHeld());
    EXPECT_FALSE(actionPressed());
}

TEST_F(AttackModeTest, BackClosesTheClosingCardToo)
{
    reader_->expectCard("TOTAL STAGES: %d", 1);
    runSeries(kDiskKind, 0, {}, {KEY_ESC});
    EXPECT_EQ(cardFrames_, 4);
    EXPECT_TRUE(backHeld());
    EXPECT_FALSE(backPressed());
}

TEST_F(AttackModeTest, AnUnknownKindPlaysNothing)
{
    screen_.script(std::vector<FrameInput>{}, 10);
    runAttackMode(2);
    runAttackMode(-1);
    EXPECT_EQ(screen_.framesShown(), 0);
}

TEST_F(AttackModeTest, TheStageCardLastsAboutOneSecondWhateverIsPressed)
{
    reader_->expectCard("STAGE %d", 7);
    std::vector<std::string> seen;
    screen_.script([&](int frame, BITMAP* picture) {
        seen.push_back(reader_->read(picture));
        return FrameInput{frame % 2 ? Keys{KEY_SPACE} : Keys{KEY_ESC}};
    });
    showStageCard(7);
    // 2 - 63 × 0.016 is the first value below 1.
    EXPECT_EQ(seen, std::vector<std::string>(63, "STAGE 7"));

    // A frame of 3.5 s takes the value to -1.5; the card still ends.
    screen_.script(std::vector<FrameInput>{{{}, 3500}}, 5);
    showStageCard(7);
    EXPECT_EQ(screen_.framesShown(), 1);
}

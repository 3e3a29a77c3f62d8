#include "AttackMode.hpp"

#include "DiskGame.hpp"
#include "FireGame.hpp"

#include "framework/Buttons.hpp"
#include "framework/Counter.hpp"
#include "framework/Graphics.hpp"
#include "ttf/Text.hpp"

#include <algorithm>

#include <allegro.h>

namespace {

constexpr int kFireSeries = 0;
constexpr int kDiskSeries = 1;
constexpr int kMaxLevel = 255;

constexpr const char* kFontFile = "carbon.ttf";
constexpr int kCardFontHeight = 36;
constexpr int kStripWidth = 640;
constexpr int kStripHeight = 36;
constexpr int kCardTextX = 320;
constexpr int kCardY = 222;
// The stage card runs while the whole part of a value falling from 2 at one
// unit per second is above 0.
constexpr int kStageCardStartValue = 2;
constexpr double kStageCardSpeed = -1.0;

// The strip a card draws its line into, and the card's font; both live as
// long as the card.
class CardPieces {
public:
    CardPieces() : strip(create_bitmap(kStripWidth, kStripHeight)), font(text_font_load(kFontFile))
    {
        text_font_set_height(font, kCardFontHeight);
    }
    ~CardPieces()
    {
        if (strip)
            destroy_bitmap(strip);
        text_font_destroy(font);
    }
    CardPieces(const CardPieces&) = delete;
    CardPieces& operator=(const CardPieces&) = delete;

    // One frame of the card: its line centred across a black screen. A strip
    // that could not be made leaves the screen black.
    void showFrame(const char* format, int number) const
    {
        clearScreen(0, 0, 0);
        if (strip) {
            clear_to_color(strip, makecol(0, 0, 0));
            draw_textf_smooth_centred_bg(strip, font, kCardTextX, 0, makecol(255, 255, 255),
                                         makecol(0, 0, 0), format, number);
            blit(strip, backBuffer, 0, 0, 0, kCardY, kStripWidth, kStripHeight);
        }
        flipScreen();
    }

private:
    BITMAP* strip;
    TextFont* font;
};

template <class Game>
bool playStage(Game& game, int level)
{
    game.load();
    const bool won = game.play(level);
    game.unload();
    return won;
}

} // namespace

void runAttackMode(int kind)
{
    // Only a lost stage ends a series, and an unknown kind would play none.
    if (kind != kFireSeries && kind != kDiskSeries)
        return;
    FireGame fireGame;
    DiskGame diskGame;
    int level = 1;
    int stage = 1;
    bool won = true;
    while (won) {
        showStageCard(stage);
        won = kind == kFireSeries ? playStage(fireGame, level) : playStage(diskGame, level);
        if (won)
            ++stage;
        level = std::min(level + 1, kMaxLevel);
    }
    showTotalStages(stage);
    // The press that closed the card must not act on the title menu.
    pollGameKeys();
}

void showStageCard(int stage)
{
    const CardPieces card;
    Counter timer;
    timer.setValue(kStageCardStartValue);
    timer.setSpeed(kStageCardSpeed);
    timer.start();
    while (timer.intValue() > 0)
        card.showFrame("STAGE %d", stage);
}

void showTotalStages(int stage)
{
    const CardPieces card;
    // A press still pending from the play's last frame must not close the card.
    pollGameKeys();
    while (!actionPressed() && !backPressed())
        card.showFrame("TOTAL STAGES: %d", stage);
}

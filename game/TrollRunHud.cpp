#include "TrollRun.hpp"

#include "TrollRunStrip.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>

namespace {

constexpr int kSmallHeight = 24;
constexpr int kBigHeight = 36;
constexpr int kBigComboFrom = 100;
constexpr int kSmallComboY = 186;
constexpr int kBigComboY = 180;
constexpr int kCentreX = 320;

constexpr int kBarX = 420;
constexpr int kBarY = 440;
constexpr int kSegmentX = 426;
constexpr int kSegmentY = 445;
constexpr int kSegmentSpacing = 5;
constexpr int kEnergyPerSegment = 10;
constexpr int kLastRedSegment = 20;
constexpr int kLastGreenSegment = 29;
constexpr int kPercentX = 585;
constexpr int kPercentY = 442;
constexpr int kEnergyPerPercent = 3;

constexpr int kScoreX = 10;
constexpr int kScoreY = 10;

} // namespace

void TrollRun::drawCombo()
{
    if (combo <= 1 || flash.intValue() < 1)
        return;
    const bool big = combo >= kBigComboFrom;
    TextStrip strip(big ? kBigHeight : kSmallHeight);
    draw_textf_sharp_centred_bg(strip.bitmap(), big ? bigFont : comboFont, kCentreX, 0,
                                makecol(240, 70, 70), maskColour(), "COMBO: %d", combo);
    strip.copyBlended(0, big ? kBigComboY : kSmallComboY, flash.intValue());
}

void TrollRun::drawEnergy()
{
    barImage.draw(kBarX, kBarY);
    // One segment for each started ten points: red up to 210, then green.
    for (int i = 0, n = 0; energy > n && i <= kLastGreenSegment; ++i, n += kEnergyPerSegment) {
        const Image& segment = i <= kLastRedSegment ? barRedImage : barGreenImage;
        segment.draw(kSegmentX + kSegmentSpacing * i, kSegmentY);
    }
    TextStrip strip(kSmallHeight);
    draw_textf_sharp_bg(strip.bitmap(), hudFont, kPercentX, 0, makecol(0, 100, 0), maskColour(),
                        "%d%%", energy / kEnergyPerPercent);
    strip.copyMasked(0, kPercentY);
}

void TrollRun::drawScore()
{
    TextStrip strip(kSmallHeight);
    draw_textf_sharp_bg(strip.bitmap(), hudFont, kScoreX, 0, makecol(0, 0, 0), maskColour(),
                        "SCORE: %d", score);
    strip.copyMasked(0, kScoreY);
}

// The screens drawn fast and drawn the straightforward way, pixel for pixel.
//
// The straightforward drawing is kept here as the game did it before it was
// made fast: the sky, the hills and the ground by the library's own copies,
// the game-over veil and the opaque text strips by its translucent sprite.
// The layers over the landscape go through the game's own operations, whose
// library calls the framework's tests hold against the library itself. Each
// frame is drawn again the straightforward way at its frame end, when every
// value it was drawn from still stands, and the two pictures are compared.

#include "TrollRunTestFolder.hpp"

#include "framework/FastDrawing.hpp"
#include "game/TrollRunStrip.hpp"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

void drawStraightforwardLandscape(TrollRun& r)
{
    const int s = r.scroll.intValue();
    blit(r.sky, backBuffer, 0, 0, 0, 0, kWidth, kHeight);
    BITMAP* tile = r.hillImage.bitmap();
    for (int x = s < 0 ? 0 : -(s / 2); tile && x < kWidth; x += tile->w)
        masked_blit(tile, backBuffer, 0, 0, x, kHeight - tile->h, tile->w, tile->h);
    if (s < 0) {
        masked_blit(r.ground, backBuffer, 0, 0, 0, 0, kWidth, kHeight);
        return;
    }
    const int n = s % 1280;
    masked_blit(r.ground, backBuffer, n, 0, 0, 0, kWidth, kHeight);
    if (n > 640)
        masked_blit(r.ground, backBuffer, 0, 0, 1280 - n, 0, kWidth, kHeight);
}

// The world of a frame of the run, in the game's drawing order.
void drawStraightforwardWorld(TrollRun& r)
{
    drawStraightforwardLandscape(r);
    r.updateClouds();
    r.drawFlags();
    r.updatePeasants();
    const int s = r.scroll.intValue();
    const int foot = s + TrollRun::kTrollScreenX + TrollRun::kTrollFootOffset;
    const int trollX = s < 0 ? s + TrollRun::kTrollScreenX : TrollRun::kTrollScreenX;
    r.troll.draw(trollX, r.groundHeight(foot) - TrollRun::kTrollHeight, r.groundTilt(foot));
    r.popup.draw(TrollRun::kPopupX, r.groundHeight(foot) - TrollRun::kPopupAboveGround);
    r.blood.updateAndDraw(s);
    r.drawCombo();
    r.drawEnergy();
    r.drawScore();
}

void drawStraightforwardVeil(int alpha)
{
    ScopedBitmap veil(kWidth, kHeight);
    clear_to_color(veil, makecol(0, 0, 0));
    set_trans_blender(255, 255, 255, alpha);
    draw_trans_sprite(backBuffer, veil, 0, 0);
}

// A 640-pixel strip of one line of sharp text on magenta, copied masked.
void drawStraightforwardBanner(TextFont* font, int x, int y, bool centred, int colour,
                               const char* text)
{
    ScopedBitmap strip(kWidth, 36);
    clear_to_color(strip, makecol(255, 0, 255));
    if (centred)
        draw_textf_sharp_centred_bg(strip, font, 320, 0, colour, makecol(255, 0, 255), "%s", text);
    else
        draw_textf_sharp_bg(strip, font, 0, 0, colour, makecol(255, 0, 255), "%s", text);
    masked_blit(strip, backBuffer, 0, 0, x, y, kWidth, 36);
}

// Lines of text on black strips, copied at full strength onto black.
struct Line {
    int y;
    std::string text;
    int colour;
};

void drawStraightforwardLines(TextFont* font, const std::vector<Line>& lines, bool smooth)
{
    clear_to_color(backBuffer, makecol(0, 0, 0));
    ScopedBitmap strip(kWidth, 36);
    for (const Line& line : lines) {
        clear_to_color(strip, makecol(0, 0, 0));
        if (smooth)
            draw_textf_smooth_centred_bg(strip, font, 320, 0, line.colour, makecol(0, 0, 0), "%s",
                                         line.text.c_str());
        else
            draw_textf_sharp_centred_bg(strip, font, 320, 0, line.colour, makecol(0, 0, 0), "%s",
                                        line.text.c_str());
        set_trans_blender(255, 255, 255, 255);
        draw_trans_sprite(backBuffer, strip, 0, line.y);
    }
}

class FramePixels : public TrollRunTestFolder {
protected:
    // At every frame end: the frame as the game drew it, then `redraw` of
    // the same frame the straightforward way, compared; the game's picture
    // is put back before the frame end goes on. `next` gives the input.
    void compareFrames(const std::function<bool(int frame)>& compared,
                       const std::function<void(int frame)>& redraw,
                       const std::function<FrameInput(int frame)>& next)
    {
        screen_.script([=](int frame, BITMAP* picture) {
            if (compared(frame)) {
                ScopedBitmap fast(kWidth, kHeight);
                blit(picture, fast, 0, 0, 0, 0, kWidth, kHeight);
                redraw(frame);
                EXPECT_EQ(firstDifference(fast, backBuffer), "") << "frame " << frame;
                blit(fast, backBuffer, 0, 0, 0, 0, kWidth, kHeight);
                ++compared_;
            }
            return next(frame);
        });
    }

    // Peasants standing in view, where the pass and relaunch rules leave
    // them alone, one of them squashed.
    void placePeasantsInView()
    {
        TrollRun& r = *run_;
        const int left = std::max(0, r.scroll.intValue());
        for (int i = 0; i < TrollRun::kPeasantCount; ++i)
            placePeasant(i, left + 230 + 41 * i);
        r.peasants[3].squash();
    }

    int compared_ = 0;
};

} // namespace

// The view from the troll walking in, through the ground's wraps at 1280
// and 2560 and the hills' at the same points, to far along; with the pop-up
// word, the combo banner and blood showing at some of them.
TEST_F(FramePixels, PlayLoopShowsTheStraightforwardWorld)
{
    TrollRun& r = *run_;
    const int views[] = {-700, -480, -1,   0,    1,    3,    639,  640,  641,
                         1279, 1280, 1281, 2559, 2560, 2561, 3839, 3840, 100001};
    constexpr int kViews = sizeof views / sizeof views[0];
    int playFrame = 0;
    compareFrames([&](int) { return r.active && r.ground; },
                  [&](int) { drawStraightforwardWorld(r); },
                  [&](int frame) -> FrameInput {
                      if (frame == 0)
                          return {{KEY_SPACE}, 0}; // closes the instructions
                      if (!r.active)
                          return {frame % 2 ? std::vector<int>{KEY_ESC} : std::vector<int>{}, 3000};
                      const int shown = playFrame++;
                      if (shown == kViews)
                          return {{KEY_ESC}, 0}; // its release ends the loop
                      if (shown > kViews)
                          return {{}, 0};
                      // The next frame shows the next view, with no flag
                      // near and strength to spare.
                      r.scroll.setValue(views[shown]);
                      r.nextMinigameX = 1 << 30;
                      r.energy = 100000;
                      if (shown == 0)
                          placePeasantsInView();
                      if (shown % 3 == 1) {
                          r.popup.show(shown % 2);
                          r.combo = 7 + 40 * shown;
                          r.flash.setValue(shown % 2 ? 255 : 130);
                      }
                      if (shown % 4 == 2)
                          r.blood.spawn(r.scroll.intValue() + 300, 350);
                      return {{}, shown % 2 ? 0u : 16u};
                  });
    r.run();
    // The run's first frame, one for each view, and the one that lets go of
    // back.
    EXPECT_EQ(compared_, kViews + 2);
}

// Hill pictures narrower than the screen, lower than the ground's reach and
// taller than the screen, with holes, over the same views.
TEST_F(FramePixels, LandscapeOfAnyHillPictureIsTheStraightforwardOne)
{
    TrollRun& r = *run_;
    const int sizes[][2] = {{97, 120}, {640, 140}, {333, 500}, {1, 1}};
    for (const auto& size : sizes) {
        ScopedBitmap tile(size[0], size[1]);
        for (int y = 0; y < size[1]; ++y)
            for (int x = 0; x < size[0]; ++x)
                putpixel(tile, x, y,
                         (x * 3 + y) % 11 < 4 ? makecol(255, 0, 255)
                                              : makecol(x % 256, 90, y % 256));
        save_bitmap("hillbg.bmp", tile, nullptr);
        r.loadAssets();
        r.buildSky(192, 229, 229, 180, 205, 222);
        r.composeBackdrop();
        r.buildGround();
        for (const int view : {-700, 0, 1, 96, 97, 98, 641, 1280, 2559, 2560, 70001}) {
            r.scroll.setValue(view);
            r.drawLandscape();
            ScopedBitmap fast(kWidth, kHeight);
            blit(backBuffer, fast, 0, 0, 0, 0, kWidth, kHeight);
            drawStraightforwardLandscape(r);
            EXPECT_EQ(firstDifference(fast, backBuffer), "")
                << size[0] << "x" << size[1] << " hills, view " << view;
        }
        r.unloadAssets();
    }
}

TEST_F(FramePixels, MinigameBannersShowTheStraightforwardWorld)
{
    setUpWorld();
    TrollRun& r = *run_;
    r.scroll.setValue(1640);
    placePeasantsInView();
    r.pause();
    const int red = makecol(255, 0, 0);
    // Frames of an eighth of a second slide the word in 80 pixels at a time.
    compareFrames([](int) { return true; },
                  [&](int frame) {
                      drawStraightforwardWorld(r);
                      drawStraightforwardBanner(r.bigFont, std::max(280, 640 - 80 * frame), 222,
                                                false, red, "MINIGAME!");
                  },
                  [](int) {
                      return FrameInput{{}, 125};
                  });
    r.minigameIntro();
    EXPECT_EQ(compared_, 16);

    compared_ = 0;
    compareFrames([](int) { return true; },
                  [&](int frame) {
                      drawStraightforwardWorld(r);
                      drawStraightforwardBanner(r.bigFont, 280, 222, false, makecol(0, 0, 100),
                                                "NO GOOD");
                      const int digit = static_cast<int>(3.99 - 0.375 * frame);
                      drawStraightforwardBanner(r.bigFont, 0, 250, true, makecol(0, 0, 0),
                                                std::to_string(digit).c_str());
                  },
                  [](int) {
                      return FrameInput{{}, 125};
                  });
    r.minigameOutcome(false);
    EXPECT_EQ(compared_, 8);
}

// The fade passes through alpha 0, 1, 128 and 254 over a world that moves
// on across the ground's wrap at 2560.
TEST_F(FramePixels, GameOverVeilsTheWorldAsTheTranslucentSpriteDoes)
{
    setUpWorld();
    TrollRun& r = *run_;
    r.active = false;
    r.scroll.setValue(2559);
    placePeasantsInView();
    const int alphas[] = {0, 1, 128, 254};
    const unsigned frameMs[] = {10, 994, 984, 10};
    compareFrames([](int) { return true; },
                  [&](int frame) {
                      drawStraightforwardWorld(r);
                      drawStraightforwardVeil(alphas[frame]);
                      drawStraightforwardBanner(r.bigFont, 0, 222, true, makecol(255, 0, 0),
                                                "GAME OVER!");
                  },
                  [&](int frame) {
                      return FrameInput{{}, frameMs[frame]};
                  });
    r.gameOver();
    EXPECT_EQ(compared_, 4);

    // The veil alone at the fade's edges and its middle, and fully opaque.
    for (const int alpha : {0, 1, 128, 254, 255}) {
        drawStraightforwardWorld(r);
        ScopedBitmap world(kWidth, kHeight);
        blit(backBuffer, world, 0, 0, 0, 0, kWidth, kHeight);
        blendBlackOver(backBuffer, alpha);
        ScopedBitmap fast(kWidth, kHeight);
        blit(backBuffer, fast, 0, 0, 0, 0, kWidth, kHeight);
        blit(world, backBuffer, 0, 0, 0, 0, kWidth, kHeight);
        drawStraightforwardVeil(alpha);
        EXPECT_EQ(firstDifference(fast, backBuffer), "") << "alpha " << alpha;
    }
}

TEST_F(FramePixels, InstructionsAndResultsAreTheOpaqueBlendedStrips)
{
    TrollRun& r = *run_;
    r.loadAssets();
    const int white = makecol(255, 255, 255);
    const std::vector<Line> instructions = {
        {10, "THIS IS GRIMBLEDOM!", white},
        {120, "SMASH AS MANY PEASANTS AS YOU CAN!", white},
        {160, "USE SPACEBAR, CTRL, SHIFT, OR ENTER.", white},
        {200, "DON'T MISS AND DON'T LET ANY PEASANTS PASS YOU!", white},
        {240, "YOU WILL ALSO RUN INTO MINIGAMES!", white},
        {420, "HOW FAR WILL YOU GET?", white},
    };
    compareFrames([](int) { return true; },
                  [&](int) { drawStraightforwardLines(r.bigFont, instructions, false); },
                  [](int frame) {
                      return FrameInput{frame == 2 ? std::vector<int>{KEY_ENTER}
                                                   : std::vector<int>{}};
                  });
    r.showInstructions();
    EXPECT_EQ(compared_, 3);

    HeadlessScreen::releaseAll();
    r.hits = 87;
    r.passed = 12;
    r.whiffs = 9;
    r.score = 21000;
    r.unlockScore1 = 15000;
    r.unlockScore2 = 21000;
    const int red = makecol(190, 0, 0);
    const std::vector<Line> results = {
        {10, "RESULTS", white},
        {160, "HITS: 87", white},
        {200, "MISSES: 12", white},
        {240, "BADS: 9", white},
        {280, "SCORE: 21000", white},
        {400, "FUMBO ATTACK UNLOCKED!", red},
        {440, "SPIN ATTACK UNLOCKED!", red},
    };
    compared_ = 0;
    compareFrames(
        [](int) { return true; }, [&](int) { drawStraightforwardLines(r.bigFont, results, true); },
        [](int frame) {
            return FrameInput{frame == 1 ? std::vector<int>{KEY_ESC} : std::vector<int>{}};
        });
    r.showResults();
    EXPECT_EQ(compared_, 2);
}

// Text strips copied at the alphas of the fading words and banners, on and
// off the screen's edges.
TEST_F(FramePixels, TextStripsBlendAsTheTranslucentSprite)
{
    TrollRun& r = *run_;
    r.loadAssets();
    ScopedBitmap before(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            putpixel(before, x, y, makecol(x % 256, y % 256, (x + y) % 256));
    for (const int alpha : {0, 1, 128, 254, 255})
        for (const int y : {-30, -10, 0, 200, 460, 470}) {
            TextStrip strip(36);
            draw_textf_sharp_centred_bg(strip.bitmap(), r.bigFont, 300, 0, makecol(240, 70, 70),
                                        maskColour(), "COMBO: %d", 123);
            draw_text_smooth_centred_bg(strip.bitmap(), r.comboFont, "HIT", 500, 6,
                                        makecol(220, 0, 50), maskColour());
            blit(before, backBuffer, 0, 0, 0, 0, kWidth, kHeight);
            strip.copyBlended(0, y, alpha);
            ScopedBitmap fast(kWidth, kHeight);
            blit(backBuffer, fast, 0, 0, 0, 0, kWidth, kHeight);
            blit(before, backBuffer, 0, 0, 0, 0, kWidth, kHeight);
            set_trans_blender(255, 255, 255, alpha);
            draw_trans_sprite(backBuffer, strip.bitmap(), 0, y);
            EXPECT_EQ(firstDifference(fast, backBuffer), "") << "alpha " << alpha << " at y " << y;
        }
}

#include "ScriptedPlayer.hpp"

#include "WholeGame.hpp"
#include "game/TrollRun.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Frame times: short where a press has to be timed, long on the screens
// that only run out.
constexpr unsigned kQuickMs = 20;
constexpr unsigned kPlayMs = 50; // swings at every peasant that comes
constexpr unsigned kNoPeasantMs = 100;
constexpr unsigned kBannerMs = 250;
constexpr unsigned kCardMs = 500;

constexpr int kFireKind = 0;
constexpr int kDiskKind = 1;
// The menu's visits go to NEW GAME, FUMBO ATTACK, SPIN ATTACK and QUIT: the
// visit's number is how many times down is pressed.
constexpr int kFumboVisit = 1;
constexpr int kQuitVisit = 3;

// Well inside the troll's reach (240 excluded to 349 ahead of the view).
constexpr int kSwingNear = 250;
constexpr int kSwingFar = 335;
constexpr int kReachNear = 240;
constexpr int kReachFar = 349;
// Ahead of the reach by more than a long frame's walk.
constexpr int kComingNear = kReachFar + 120;

// The fire minigame at level 1: a shot from x 480 at 604 pixels a second
// meets the 40-pixel-wide target at x 140 after about 495 ms; the target
// then covers the shot's row when its platform stands near y 297.
constexpr double kShotFlightMs = 495.0;
constexpr double kPlatformAim = 297.0;
constexpr double kAimTolerance = 12.0;
constexpr double kPlatformLowest = 395.0;

constexpr int kWinningAngle = 252;
constexpr int kLosingAngle = 128;

double platformSpeed(int level)
{
    return 250.0 + 4.0 * level;
}

double diskSpeed(int level)
{
    return 150.0 + std::min(7 * level + 150, 500);
}

} // namespace

ScriptedPlayer::ScriptedPlayer(TrollRun& run)
    : run_(run), watch_(run), fireSeed_(seedForMinigame(kFireKind)),
      diskSeed_(seedForMinigame(kDiskKind))
{
}

FrameInput ScriptedPlayer::step()
{
    const Screen now = watch_.screen();
    if (seen_.empty() || seen_.back() != now) {
        enter(now);
        seen_.push_back(now);
        framesOnScreen_ = 0;
    }
    FrameInput input = act(now);
    ++framesOnScreen_;
    lastKeys_ = input.keys;
    return input;
}

void ScriptedPlayer::enter(Screen screen)
{
    const Screen before = seen_.empty() ? Screen::Menu : seen_.back();
    if (screen == Screen::Menu && !seen_.empty())
        ++menuVisits_;
    if (screen == Screen::IntroBanner) {
        ++handOffs_;
        scoreBeforeHandOff_ = run_.score;
    }
    if (screen == Screen::Play && before == Screen::OutcomeBanner)
        handOffPoints_.push_back(run_.score - scoreBeforeHandOff_);
    if (before == Screen::MinigameTitle && !run_.active) {
        if (screen == Screen::FirePlay)
            ++seriesFirePlays_;
        if (screen == Screen::DiskPlay)
            ++seriesDiskPlays_;
    }
    if (screen == Screen::FirePlay) {
        shotsFired_ = 0;
        framesSinceShot_ = 0;
    }
}

FrameInput ScriptedPlayer::act(Screen screen)
{
    switch (screen) {
    case Screen::Menu:
        return menu();
    case Screen::Instructions:
    case Screen::Results:
        return tap(KEY_SPACE, kBannerMs);
    case Screen::Play:
        return play();
    case Screen::IntroBanner:
        // Seeded at every frame end of the banner: the last one comes right
        // before the run picks its minigame.
        std::srand(handOffs_ == 1 ? fireSeed_ : diskSeed_);
        return {{}, kBannerMs};
    case Screen::MinigameTitle:
        return {{}, kCardMs};
    case Screen::FirePlay:
        if (run_.active)
            return aimFire();
        // Leaving a series: back pressed, then released.
        return {framesOnScreen_ == 0 ? std::vector<int>{KEY_ESC} : std::vector<int>{}, kPlayMs};
    case Screen::DiskPlay:
        if (run_.active)
            return stopDisk(2, kLosingAngle);
        return seriesDiskPlays_ == 1 ? stopDisk(1, kWinningAngle) : stopDisk(2, kLosingAngle);
    case Screen::OutcomeBanner:
        return {{}, kBannerMs};
    case Screen::GameOver:
        return {{}, kCardMs};
    case Screen::Card:
        // The stage card reads no button; the closing card has no clock.
        if (!watch_.screenCounters().empty())
            return {{}, kCardMs};
        return tap(menuVisits_ == kFumboVisit ? KEY_SPACE : KEY_ESC, kCardMs);
    }
    return {};
}

// Down as often as the visit's entry lies below NEW GAME (every entry is
// open), then action; one frame more shows the choice.
FrameInput ScriptedPlayer::menu()
{
    const int downs = std::min(menuVisits_, kQuitVisit);
    const int frame = framesOnScreen_;
    if (menuVisits_ > kQuitVisit || frame > 2 * downs + 2) {
        surprises_.push_back("the menu did not close when expected");
        return tap(KEY_ESC, kBannerMs);
    }
    if (frame < 2 * downs)
        return {frame % 2 == 0 ? std::vector<int>{KEY_DOWN} : std::vector<int>{}, kBannerMs};
    return {frame == 2 * downs ? std::vector<int>{KEY_SPACE} : std::vector<int>{}, kBannerMs};
}

// A swing at nobody first; then the first peasant to come into reach is let
// past, and every later one is hit. After the second minigame the player
// leaves with the score that unlocks both extra modes.
FrameInput ScriptedPlayer::play()
{
    if (handOffs_ >= 2) {
        if (!leaving_) {
            leaving_ = true;
            run_.score = kLeavingScore;
            return {{KEY_ESC}, kPlayMs};
        }
        return {{}, kPlayMs};
    }
    if (held(KEY_SPACE))
        return {{}, kPlayMs};
    const int s = run_.scroll.intValue();
    bool sparedInReach = false;
    bool targetInReach = false;
    bool peasantNear = false;
    for (int i = 0; i < TrollRun::kPeasantCount; ++i) {
        const Peasant& peasant = run_.peasants[i];
        const int d = peasant.x() - s;
        peasantNear = peasantNear || (peasant.isAlive() && d > kReachNear && d <= kComingNear);
        if (!peasant.isAlive() || d <= kReachNear || d > kReachFar)
            continue;
        if (sparedPeasant_ < 0 && run_.passed == 0)
            sparedPeasant_ = i;
        if (i == sparedPeasant_ && run_.passed == 0)
            sparedInReach = true;
        else if (d > kSwingNear && d <= kSwingFar)
            targetInReach = true;
    }
    if (!whiffed_) {
        whiffed_ = true;
        return {{KEY_SPACE}, kPlayMs};
    }
    return {targetInReach && !sparedInReach ? std::vector<int>{KEY_SPACE} : std::vector<int>{},
            peasantNear ? kPlayMs : kNoPeasantMs};
}

// Fires the first shot so that it meets the target, the other two later.
FrameInput ScriptedPlayer::aimFire()
{
    ++framesSinceShot_;
    if (held(KEY_SPACE))
        return {{}, kQuickMs};
    if (shotsFired_ == 0) {
        const Counter* platform = watch_.screenCounterWithSpeed(platformSpeed(1));
        if (!platform)
            return {{}, kQuickMs};
        const double aimed =
            platform->value() + platform->speed() * (kQuickMs + kShotFlightMs) / 1000.0;
        if (std::abs(aimed - kPlatformAim) > kAimTolerance || aimed > kPlatformLowest)
            return {{}, kQuickMs};
    } else if (shotsFired_ == 3 || framesSinceShot_ < 20) {
        return {{}, kBannerMs / 2};
    }
    ++shotsFired_;
    framesSinceShot_ = 0;
    return {{KEY_SPACE}, kQuickMs};
}

// Presses action in the frame whose end brings the disk to targetAngle.
FrameInput ScriptedPlayer::stopDisk(int level, int targetAngle)
{
    const Counter* angle = watch_.screenCounterWithSpeed(diskSpeed(level));
    if (!angle)
        return {{}, kBannerMs}; // stopped: the time runs out within a second
    if (held(KEY_SPACE))
        return {{}, kQuickMs};
    const double ahead = targetAngle - angle->value();
    const double msToTarget = ahead / angle->speed() * 1000.0;
    if (ahead <= 0 || msToTarget > kPlayMs)
        return {{}, kQuickMs};
    return {{KEY_SPACE}, std::max(1u, static_cast<unsigned>(std::lround(msToTarget)))};
}

FrameInput ScriptedPlayer::tap(int key, unsigned ms) const
{
    return {held(key) ? std::vector<int>{} : std::vector<int>{key}, ms};
}

bool ScriptedPlayer::held(int key) const
{
    return std::find(lastKeys_.begin(), lastKeys_.end(), key) != lastKeys_.end();
}

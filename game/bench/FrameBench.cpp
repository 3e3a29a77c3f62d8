// The CPU price of one frame of every screen of the game, against a bare
// copy of the back buffer timed in the same run.
//
// The real screen loops run headless (framework/tests/HeadlessScreen) with
// scripted keys and frame times. Each frame end hands the frame to the
// bench's presenter, which first does what the real frame end does with it,
// a copy of the whole back buffer into a 640 by 480 bitmap, and only then
// reads the clock. A frame is timed from the moment the presenter hands
// back in one frame end to the end of the copy in the next: its drawing, its
// copy and the rest of a frame end (buttons, clock, Counters), each once.
// The first frame of every call of a screen is left out, since it carries
// the screen's loading.
//
// Usage: frame_bench [data folder [screen]]: the data folder defaults to
// the build's play folder; a screen's name times that screen alone.

#include "framework/Graphics.hpp"
#include "framework/tests/HeadlessScreen.hpp"
#include "game/AttackMode.hpp"
#include "game/DiskGame.hpp"
#include "game/FireGame.hpp"
#include "game/Menu.hpp"
#include "game/TrollRun.hpp"
#include "ttf/Text.hpp"

#include <allegro.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int kFramesPerScreen = 500;
// Long enough to end a one-second title card in one frame.
constexpr unsigned kSkipCard = 1500;
// Frames of a typical screen; the main run moves at half that, so that its
// first frames show the troll walking in and the view starting to scroll.
constexpr unsigned kFrameMs = 16;
constexpr unsigned kRunFrameMs = 8;
constexpr int kBurstsAlive = 5;

double cpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

// What a script says of one frame that has just been drawn.
struct Frame {
    FrameInput input;  // keys and frame time for the next poll
    bool timed = true; // whether this frame counts for the screen
};
// frame: index from 0 of the frame within the current call of the screen.
using Script = std::function<Frame(int frame)>;

// Times the frames of one screen through the headless frame end.
class FrameTimer {
public:
    FrameTimer(HeadlessScreen& screen, BITMAP* window) : screen_(screen), window_(window) {}

    // Calls `screenOnce` until kFramesPerScreen frames are timed.
    std::vector<double> time(const std::function<void()>& screenOnce, const Script& script)
    {
        samples_.clear();
        while (static_cast<int>(samples_.size()) < kFramesPerScreen) {
            startedAt_ = cpuMicroseconds();
            screen_.script(
                [&](int frame, BITMAP* picture) { return endFrame(frame, picture, script); },
                1000000);
            screenOnce();
        }
        samples_.resize(kFramesPerScreen);
        return samples_;
    }

    // Bare copies of the back buffer into the window's stand-in, one timed
    // beside every timed frame so far.
    const std::vector<double>& bareCopies() const { return bareCopies_; }

private:
    FrameInput endFrame(int frame, BITMAP* picture, const Script& script)
    {
        copyToWindow(picture);
        const double drawn = cpuMicroseconds();
        const Frame f = script(frame);
        if (f.timed && frame > 0) {
            samples_.push_back(drawn - startedAt_);
            // The yardstick, timed beside every frame under the same load.
            const double copyStart = cpuMicroseconds();
            copyToWindow(picture);
            bareCopies_.push_back(cpuMicroseconds() - copyStart);
        }
        startedAt_ = cpuMicroseconds();
        return f.input;
    }

    void copyToWindow(BITMAP* picture)
    {
        blit(picture, window_, 0, 0, 0, 0, picture->w, picture->h);
    }

    HeadlessScreen& screen_;
    BITMAP* window_;
    std::vector<double> samples_;
    std::vector<double> bareCopies_;
    double startedAt_ = 0.0;
};

struct Figures {
    double median;
    double p99;
};

Figures summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return {samples[n / 2], samples[std::min(n - 1, n * 99 / 100)]};
}

void report(const char* name, const std::vector<double>& samples, double bareMedian)
{
    const Figures f = summarise(samples);
    std::printf("screen %s median_us %.1f p99_us %.1f ratio %.2f\n", name, f.median, f.p99,
                f.median / bareMedian);
    std::fflush(stdout);
}

// Presses `keys` in frame `frame` and nothing else; every frame takes `ms`.
Frame pressAt(int frame, int pressFrame, std::vector<int> keys, unsigned ms = kFrameMs)
{
    return {frame == pressFrame ? FrameInput{std::move(keys), ms} : FrameInput{{}, ms}};
}

// A whole main run, of which only the frames of the play loop are timed:
// the instructions close at once, the loop runs kFramesPerScreen frames
// from the start of the run, and a press of back ends it; the game-over fade
// passes in one long frame and the results close on back.
Script playLoopScript(TrollRun& run, const std::function<void(int playFrame)>& beforeEachFrame)
{
    auto playFrames = std::make_shared<int>(0);
    return [&run, beforeEachFrame, playFrames](int frame) -> Frame {
        if (frame == 0)
            *playFrames = 0;
        if (!run.active)
            return {FrameInput{frame % 2 ? std::vector<int>{KEY_ESC} : std::vector<int>{}, 3000},
                    false};
        if (!run.ground)
            return {FrameInput{{KEY_SPACE}, kRunFrameMs}, false};
        const int n = (*playFrames)++;
        beforeEachFrame(n);
        // Back goes down then up: its release ends the loop.
        const bool backDown = n == kFramesPerScreen + 1;
        return {FrameInput{backDown ? std::vector<int>{KEY_ESC} : std::vector<int>{}, kRunFrameMs},
                n > 0 && n <= kFramesPerScreen};
    };
}

// Keeps five bursts alive and the combo banner showing, as after a swing
// that caught five peasants in the troll's reach; the banner fades from
// full strength again and again, as a streak of hits has it.
void keepStreakGoing(TrollRun& run, int playFrame)
{
    int bursts = 0;
    for (const BloodSplat* b = run.blood.first(); b; b = b->next)
        ++bursts;
    for (; bursts < kBurstsAlive; ++bursts) {
        const int x = run.scroll.intValue() + 250 + 20 * bursts;
        run.blood.spawn(x, run.groundHeight(x + 30));
        run.popup.show(0);
    }
    run.combo = 50;
    run.flash.setValue(255 - playFrame * 5 % 250);
    run.energy = 200;
}

// The world as a run has it when it reaches its first flag.
void setUpWorldAtFirstFlag(TrollRun& run)
{
    run.loadAssets();
    run.active = true;
    run.reset();
    run.buildSky(192, 229, 229, 180, 205, 222);
    run.composeBackdrop();
    run.buildGround();
    run.popup.loadFont();
    run.troll.load();
    run.spawnPeasants();
    run.score = 0;
    run.scroll.setValue(1640);
}

// Presses back at the end of the screen's frames, nothing before.
Frame backAtEnd(int frame)
{
    return pressAt(frame, kFramesPerScreen, {KEY_ESC});
}

// Down and up in turn, back at the end.
Frame menuKeys(int frame)
{
    if (frame % 40 == 10)
        return pressAt(frame, frame, {KEY_DOWN});
    if (frame % 40 == 30)
        return pressAt(frame, frame, {KEY_UP});
    return backAtEnd(frame);
}

// The minigames pass their title card in one long frame, then play: three
// shots fired in the fire minigame, the disk left turning in the other.
Frame minigameKeys(int frame)
{
    if (frame == 0)
        return {FrameInput{{}, kSkipCard}, false};
    const bool fire = frame == 20 || frame == 60 || frame == 100;
    return {FrameInput{fire ? std::vector<int>{KEY_SPACE} : std::vector<int>{}}, frame > 1};
}

template <class Game>
std::vector<double> timeMinigame(FrameTimer& timer)
{
    Game game;
    return timer.time(
        [&] {
            game.load();
            game.play(1);
            game.unload();
        },
        minigameKeys);
}

// The results with every line shown: both modes unlocked for the first time.
void setUpResults(TrollRun& run)
{
    run.loadAssets();
    run.hits = 87;
    run.passed = 12;
    run.whiffs = 9;
    run.score = 21000;
    run.unlockScore1 = 15000;
    run.unlockScore2 = 21000;
}

using RunStep = std::function<void(TrollRun&)>;

// Times one of the screens around the play loop on a run made for it.
std::vector<double> timeRunScreen(FrameTimer& timer, const RunStep& prepare,
                                  const RunStep& screenOnce, const Script& script)
{
    TrollRun run;
    prepare(run);
    std::vector<double> samples = timer.time([&] { screenOnce(run); }, script);
    run.unloadAssets();
    return samples;
}

std::vector<double> timePlayLoop(FrameTimer& timer, bool streak)
{
    TrollRun run;
    return timer.time([&] { run.run(); }, playLoopScript(run, [&](int playFrame) {
                          if (streak)
                              keepStreakGoing(run, playFrame);
                      }));
}

struct Bench {
    const char* name;
    std::function<std::vector<double>(FrameTimer&)> time;
};

// Every screen the bench times, in the order it prints them.
const std::vector<Bench>& benches()
{
    auto onRun = [](RunStep prepare, RunStep screenOnce, Script script) {
        return [=](FrameTimer& timer) { return timeRunScreen(timer, prepare, screenOnce, script); };
    };
    const RunStep atFlag = [](TrollRun& run) {
        setUpWorldAtFirstFlag(run);
        run.pause();
    };
    const RunStep afterRun = [](TrollRun& run) {
        setUpWorldAtFirstFlag(run);
        run.active = false;
    };
    const Script steady = [](int) { return Frame{}; };
    static const std::vector<Bench> all = {
        {"menu", [](FrameTimer& t) { return t.time([] { runMenu(false, false); }, menuKeys); }},
        {"instructions",
         onRun([](TrollRun& run) { run.loadAssets(); },
               [](TrollRun& run) { run.showInstructions(); },
               [](int frame) { return pressAt(frame, kFramesPerScreen, {KEY_SPACE}); })},
        {"run_start", [](FrameTimer& t) { return timePlayLoop(t, false); }},
        {"run_blood_combo", [](FrameTimer& t) { return timePlayLoop(t, true); }},
        {"minigame_banner", onRun(
                                atFlag, [](TrollRun& run) { run.minigameIntro(); }, steady)},
        {"outcome_banner", onRun(
                               atFlag, [](TrollRun& run) { run.minigameOutcome(true); }, steady)},
        {"game_over", onRun(
                          afterRun, [](TrollRun& run) { run.gameOver(); }, steady)},
        {"results", onRun(
                        setUpResults, [](TrollRun& run) { run.showResults(); }, backAtEnd)},
        {"fire_minigame", timeMinigame<FireGame>},
        {"disk_minigame", timeMinigame<DiskGame>},
        {"stage_card", [=](FrameTimer& t) { return t.time([] { showStageCard(3); }, steady); }},
        {"total_stages",
         [](FrameTimer& t) { return t.time([] { showTotalStages(3); }, backAtEnd); }},
    };
    return all;
}

} // namespace

int main(int argc, char** argv)
{
    if (chdir(argc > 1 ? argv[1] : GRIMBLEDOM_PLAY_DIR) != 0) {
        std::fprintf(stderr, "cannot enter the data folder\n");
        return 1;
    }
    const char* only = argc > 2 ? argv[2] : nullptr;
    std::srand(1234);
    HeadlessScreen screen;
    text_system_startup();
    BITMAP* window = create_bitmap(TrollRun::kScreenWidth, TrollRun::kScreenHeight);
    FrameTimer timer(screen, window);

    std::vector<std::pair<const char*, std::vector<double>>> timed;
    for (const Bench& bench : benches())
        if (!only || std::strcmp(only, bench.name) == 0)
            timed.emplace_back(bench.name, bench.time(timer));
    const double bareMedian = summarise(timer.bareCopies()).median;
    std::printf("%d frames per screen; CPU microseconds per frame\n", kFramesPerScreen);
    report("bare_copy", timer.bareCopies(), bareMedian);
    for (const auto& [name, samples] : timed)
        report(name, samples, bareMedian);

    destroy_bitmap(window);
    text_system_shutdown();
    return 0;
}

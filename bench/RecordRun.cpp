// Not a test: records what a player hears. Starts the sound library as the
// game does, plays the music and then either nothing more ("music") or one
// main run in real time ("run") through the real screens, driven headless:
// the troll swings at every peasant in reach, taps action now and then in
// the minigames, and stops swinging after the given seconds so that the run
// ends. Run it with SDL_AUDIODRIVER=disk and SDL_DISKAUDIOFILE naming the
// recording; it writes the recording's second at which each hit sounded,
// one a line, to HITS_FILE (see bench/sound_levels.sh).
//
// Usage: record_run PLAY_FOLDER music|run SECONDS HITS_FILE

#include "framework/SoundLayer.hpp"
#include "framework/tests/HeadlessScreen.hpp"
#include "game/TrollRun.hpp"
#include "ttf/Text.hpp"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr unsigned kFrameMs = 16;
constexpr double kBytesPerSecond = 32000 * 2 * 2;
constexpr int kMinigameTapFrames = 20;
constexpr int kReachNear = 250;
constexpr int kReachFar = 340;

// Seconds of sound in the recording so far.
double recordedSeconds()
{
    const char* file = std::getenv("SDL_DISKAUDIOFILE");
    std::error_code error;
    const auto size = file ? fs::file_size(file, error) : 0;
    return error ? 0.0 : size / kBytesPerSecond;
}

// A scratch copy of the play folder, so that a run's save file lands there.
fs::path copyPlayFolder(const fs::path& play)
{
    const fs::path copy = fs::temp_directory_path() / ("record-run-" + std::to_string(getpid()));
    fs::create_directories(copy);
    for (const fs::directory_entry& entry : fs::directory_iterator(play))
        if (entry.is_regular_file() && entry.path().filename() != "save.dat")
            fs::copy_file(entry.path(), copy / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
    return copy;
}

class Player {
public:
    Player(TrollRun& run, double swingSeconds) : run_(run), swingSeconds_(swingSeconds) {}

    FrameInput step(int frame)
    {
        keepRealTime(frame);
        // A hit of the frame just drawn sounds in the first buffer mixed
        // after it was played, so no earlier than where the recording stood
        // when that frame began.
        if (run_.hits != hits_) {
            hits_ = run_.hits;
            hitTimes_.push_back(frameStart_);
        }
        frameStart_ = recordedSeconds();
        if (!run_.active || frame == 0)
            return tap(frame, KEY_ESC, KEY_SPACE);
        const int scroll = run_.scroll.intValue();
        const bool scrolling = scroll != lastScroll_;
        lastScroll_ = scroll;
        if (!scrolling)
            return (frame % kMinigameTapFrames == 0) ? FrameInput{{KEY_SPACE}, kFrameMs}
                                                     : FrameInput{{}, kFrameMs};
        return swing(scroll);
    }

    const std::vector<double>& hitTimes() const { return hitTimes_; }

private:
    void keepRealTime(int frame)
    {
        if (frame == 0)
            start_ = Clock::now();
        std::this_thread::sleep_until(start_ + std::chrono::milliseconds(kFrameMs * frame));
    }

    FrameInput tap(int frame, int afterRun, int firstFrame)
    {
        if (frame == 0)
            return {{firstFrame}, kFrameMs};
        return frame % 2 ? FrameInput{{afterRun}, kFrameMs} : FrameInput{{}, kFrameMs};
    }

    // Swings whenever a live peasant walks well inside the troll's reach.
    FrameInput swing(int scroll)
    {
        const double played = std::chrono::duration<double>(Clock::now() - start_).count();
        bool inReach = false;
        for (const Peasant& p : run_.peasants)
            inReach =
                inReach
                || (p.isAlive() && p.x() - scroll > kReachNear && p.x() - scroll <= kReachFar);
        swinging_ = played < swingSeconds_ && inReach && !swinging_;
        return swinging_ ? FrameInput{{KEY_SPACE}, kFrameMs} : FrameInput{{}, kFrameMs};
    }

    TrollRun& run_;
    double swingSeconds_;
    Clock::time_point start_;
    int hits_ = 0;
    double frameStart_ = 0;
    int lastScroll_ = -1;
    bool swinging_ = false;
    std::vector<double> hitTimes_;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 || (std::string(argv[2]) != "music" && std::string(argv[2]) != "run")) {
        std::fprintf(stderr, "usage: %s PLAY_FOLDER music|run SECONDS HITS_FILE\n", argv[0]);
        return 2;
    }
    const fs::path folder = copyPlayFolder(fs::absolute(argv[1]));
    const double seconds = std::atof(argv[3]);
    const std::string hitsFile = fs::absolute(argv[4]).string();
    fs::current_path(folder);

    TrollRun run;
    HeadlessScreen screen;
    text_system_startup();
    if (initSound() != 0)
        return 1;
    loadMusic("motivati.xm");
    playMusic();

    Player player(run, seconds);
    if (std::string(argv[2]) == "run") {
        screen.script([&](int frame, BITMAP*) { return player.step(frame); }, 1 << 30);
        run.run();
        run.unloadAssets();
    } else {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    }
    std::ofstream out(hitsFile);
    for (double t : player.hitTimes())
        out << t << '\n';

    shutdownSound();
    text_system_shutdown();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(folder);
    return 0;
}

#include "WholeGame.hpp"

#include "framework/SaveFile.hpp"
#include "framework/SoundLayer.hpp"
#include "game/Menu.hpp"
#include "ttf/Text.hpp"

#include <stdlib.h>

namespace {

// Sound that still keeps time but reaches no loudspeaker, unless the one
// who runs the tests asks for a driver to listen with.
bool startSilentSound()
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return initSound() == 0;
}

// Shut-down runs even when a test's frame limit throws out of the menu loop.
class StartedProgram {
public:
    StartedProgram() : soundStarted_(startSilentSound())
    {
        if (!soundStarted_)
            return;
        loadMusic("motivati.xm");
        playMusic();
        text_system_startup();
        loadProgress("save.dat");
    }
    ~StartedProgram()
    {
        if (!soundStarted_)
            return;
        text_system_shutdown();
        shutdownSound();
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool started() const { return soundStarted_; }

private:
    bool soundStarted_;
};

} // namespace

int runProgram(TrollRun& run)
{
    const StartedProgram program;
    return program.started() ? runMenuLoop(run) : 1;
}

unsigned seedForMinigame(int kind)
{
    unsigned seed = 1;
    for (;; ++seed) {
        std::srand(seed);
        if (std::rand() % 2 == kind)
            return seed;
    }
}

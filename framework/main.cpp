#include "framework/Buttons.hpp"
#include "framework/FrameClock.hpp"
#include "framework/Graphics.hpp"
#include "framework/LibraryStart.hpp"
#include "framework/SaveFile.hpp"
#include "framework/SoundLayer.hpp"
#include "game/Menu.hpp"
#include "game/TrollRun.hpp"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr const char* kMusicFile = "motivati.xm";
constexpr const char* kSaveFile = "save.dat";

} // namespace

int main(int, char**)
{
    // Built before the library starts and kept until everything else has
    // stopped; every run from the menu uses this one record.
    TrollRun trollRun;
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    // The library reads its settings as it starts; a damaged file must not
    // stop the game there for good.
    keepLibraryTextFinite();
    // Using the library after a failed start would crash: say why and stop.
    if (allegro_init() != 0) {
        std::fprintf(stderr, "%s\n",
                     libraryStartFailure(allegro_error, displayReachable()).c_str());
        return 1;
    }
    if (initSound() != 0)
        return 1;
    loadMusic(kMusicFile);
    playMusic();
    if (initGraphics() != 0)
        return 1;
    startTimer();
    startInput();
    loadProgress(kSaveFile);

    const int exitCode = runMenuLoop(trollRun);

    stopInput();
    stopTimer();
    shutdownGraphics();
    shutdownSound();
    return exitCode;
}
END_OF_MAIN()

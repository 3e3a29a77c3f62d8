#include "MinigameTestFolder.hpp"

#include "game/AttackMode.hpp"
#include "game/DiskGame.hpp"
#include "game/FireGame.hpp"

#include <cstdlib>
#include <string>

// Saves frames of the minigame screens with the real pictures, to look at
// by eye. Not part of the test run:
//   game_tests --gtest_also_run_disabled_tests --gtest_filter='MinigameSnapshot*'
// writes BMP files into the folder named by GRIMBLEDOM_SNAPSHOTS (or /tmp).
using Keys = std::vector<int>;

class MinigameSnapshot : public MinigameTestFolder {
protected:
    static std::string target(const char* name)
    {
        const char* folder = std::getenv("GRIMBLEDOM_SNAPSHOTS");
        return std::string(folder ? folder : "/tmp") + "/" + name;
    }

    // Saves frame `wanted` under `name`, pressing `keys` in frame `pressAt`.
    HeadlessScreen::Step saveFrame(int wanted, const char* name, int pressAt = -1,
                                   Keys keys = {KEY_SPACE})
    {
        return [=](int frame, BITMAP* picture) {
            if (frame == wanted)
                save_bitmap(target(name).c_str(), picture, nullptr);
            return FrameInput{frame == pressAt ? keys : Keys{}, 100};
        };
    }
};

TEST_F(MinigameSnapshot, DISABLED_SaveFrames)
{
    FireGame fire;
    screen_.script(saveFrame(0, "minigame-title.bmp"));
    fire.load();
    fire.play(1);
    fire.unload();
    playScripted(fire, 1, saveFrame(5, "fire-play.bmp", 3));
    // Timed so that the shot meets the target in frame 2.
    playScripted(fire, 1, [](int frame, BITMAP* picture) {
        if (frame == 4)
            save_bitmap(target("fire-hit.bmp").c_str(), picture, nullptr);
        if (frame == 0)
            return FrameInput{{KEY_SPACE}, 149};
        return FrameInput{{}, frame == 1 ? 560u : 100u};
    });

    DiskGame disk;
    playScripted(disk, 1, saveFrame(3, "disk-play.bmp"));
    playScripted(disk, 1, saveFrame(4, "disk-stopped.bmp", 2));

    screen_.script(saveFrame(0, "stage-card.bmp"));
    showStageCard(12);
    screen_.script(saveFrame(0, "total-stages.bmp", 1));
    showTotalStages(12);
}

#pragma once

#include "Minigame.hpp"

#include "framework/Counter.hpp"
#include "framework/Image.hpp"
#include "framework/Sound.hpp"

#include <array>
#include <cstddef>

// One shot slot of the fire minigame.
struct Projectile {
    bool active = false; // flying and drawn
    bool spent = false;  // fired, or withheld at this level, until the next play
    Counter x;           // screen x; every shot flies along one row
};

// The target's platform, bouncing between two rows.
struct PlatformMover {
    int minY = 0;
    int maxY = 0;
    int baseSpeed = 0; // pixels per second before the level's bonus
    Counter y;         // top edge of the platform
};

// The target: standing on its platform until hit, then falling.
struct FallingTarget {
    bool alive = false;
    double fallY = 0.0;
    Counter fallSpeed; // value: vertical speed (up is negative); speed: the pull
};

// "KILL FUMBO!": fire at most three shots from the bridge at the target on
// its moving platform before the time runs out. Use it as load, play, unload
// for every play; one object serves any number of plays.
class FireGame : public Minigame {
public:
    FireGame() = default;
    ~FireGame() = default;

    // Opens the font, the nine pictures and the two samples.
    void load();
    // Frees everything that load opened; safe to call twice.
    void unload();
    // One play, title card included, at a level from 1 up. Returns whether
    // the target was hit by the time the play ended.
    bool play(int level);

private:
    static constexpr std::size_t kPictureCount = 9;
    static constexpr int kShotSlots = 3;
    std::array<Image*, kPictureCount> pictures();
    void startPlay(int level);
    void stopPlay();

    // The steps of one frame, in the order play calls them.
    void drawBackground();
    void drawAmmo();
    void movePlatform();
    void drawBreather();
    void updateTarget();
    void updateProjectiles();
    void drawTime();

    int targetTop() const;
    bool shotHitsTarget(const Projectile& shot) const;
    void hitTarget();
    void fire(Projectile& shot);

    Image targetImage;
    Image fallingImage;
    Image platformImage;
    Image breatherIdleImage;
    Image breatherActionImage;
    Image fireballImage;
    Image lavaImage;
    Image bridgeImage;
    Image ammoImage;
    Sound breathSound;
    Sound sizzleSound;
    double bonus = 0.0;
    Counter time;
    Projectile shots[kShotSlots];
    PlatformMover platform;
    FallingTarget target;
};

// Test-only: preloaded into the game so that every rand() returns one value.
// All ten peasants then start together at world x 1000 and come back
// together 900 pixels ahead of the view, so one swing smashes the whole
// crowd, and the minigame at a flag is the fire game (an even value).
extern "C" int rand(void)
{
    return 1700;
}

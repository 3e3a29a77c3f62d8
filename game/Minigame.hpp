#pragma once

struct TextFont;

// What both minigames share: their 24-pixel font and the title card that
// opens every play. A minigame is only ever used as itself, never through
// this base, so nothing here is virtual.
class Minigame {
public:
    Minigame(const Minigame&) = delete;
    Minigame& operator=(const Minigame&) = delete;

protected:
    Minigame() = default;
    // Frees a font that a play left loaded.
    ~Minigame();

    // Opens "carbon.ttf" at 24 pixels, replacing a font still loaded. A font
    // that cannot be opened leaves the minigame without text.
    void loadFont();
    // Shows the title centred on a black screen for about one second.
    // Reads no button.
    void showTitle(const char* title);
    // Frees the font; safe when none is loaded.
    void freeFont();

    TextFont* font = nullptr;
};

#pragma once

#include "framework/Counter.hpp"

struct TextFont;

// The one word that pops up above the troll: HIT, MISS or BAD. It rises by
// 25 pixels and fades out in about a third of a second; a new word replaces
// the one showing.
class Popup {
public:
    enum Kind { kHit = 0, kMiss = 1, kBad = 2 };

    Popup() = default;
    Popup(const Popup&) = delete;
    Popup& operator=(const Popup&) = delete;

    // Opens the word's font for one run; freeFont closes it. Both are safe to
    // call twice.
    void loadFont();
    void freeFont();

    // Shows the word of that kind from full strength.
    void show(int kind);
    // Draws the word, if still visible, centred on x; it starts with its top
    // at y and rises from there as it fades.
    void draw(int x, int y) const;

    int shownKind() const { return kind; }

private:
    TextFont* font = nullptr;
    Counter alpha;
    int kind = kHit;
};

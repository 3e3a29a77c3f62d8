#pragma once

#include <string>

// What the game does around the graphics library's own start, which it
// cannot look into: the text the library reads by itself as it starts (its
// settings file "allegro.cfg" and the language file that may name), and the
// display it opens.

// Before the library starts: makes the library's UTF-8 writer finish on
// every character it can decode. Its own never returns from a character of
// value 2^30 or more (lead byte 0xfd to 0xff), which a damaged settings or
// language file can hold, and the game would hang before any window. Every
// other character is written, and measured, exactly as the library's own
// routines do.
void keepLibraryTextFinite();

// Whether $DISPLAY names an X display that answers.
bool displayReachable();

// What to tell the player when the library does not start: that there is no
// display to open a window on, when there is none; otherwise that the
// library could not start, with its own text where it gives one.
std::string libraryStartFailure(const char* libraryError, bool displayThere);

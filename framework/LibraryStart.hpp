#pragma once

#include <string>

// What the game checks around the graphics library's own start, which the
// game cannot look into: the settings file "allegro.cfg" that the library
// reads by itself, and the display it opens.

// The settings file the library will read as it starts, found the way the
// library looks for it: "allegro.cfg" beside the program, then in the folder
// that $ALLEGRO names, then "allegro.cfg" or ".allegrorc" in $HOME, then
// "allegro.cfg" or "allegrorc" in /etc; the first that is there, and not a
// folder, is the one. Empty when there is none. The folder the game is
// started from is not searched.
std::string libraryConfigFile();
// The same search from the given program folder and values of $ALLEGRO and
// $HOME; either value may be null.
std::string libraryConfigFile(const std::string& programFolder, const char* allegroFolder,
                              const char* home);

// Whether the library can read the named settings file. Its reader never
// finishes a file holding a byte from 0xfd to 0xff (the lead of a six- to
// eight-byte character, which no text has). A file that cannot be opened
// reads as empty, so it is fine.
bool isReadableLibraryConfig(const char* fileName);

// Before the library starts: false, after saying on stderr which file to
// mend or remove, when its settings file would stop the game for good.
bool libraryConfigReadable();

// Whether $DISPLAY names an X display that answers.
bool displayReachable();

// What to tell the player when the library does not start: that there is no
// display to open a window on, when there is none; otherwise that the
// library could not start, with its own text where it gives one.
std::string libraryStartFailure(const char* libraryError, bool displayThere);

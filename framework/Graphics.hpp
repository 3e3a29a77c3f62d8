#pragma once

#include <functional>

struct BITMAP;

// The game's one off-screen bitmap, 640 by 480 in 32-bit colour. Every screen
// draws into it; only the frame end copies it to the screen.
extern BITMAP* backBuffer;

// The graphics-mode request of this program: a window or the full screen.
// Each program defines it in its own source file.
extern const int graphicsCard;

// Opens the 640 by 480 display, creates the back buffer and starts the text
// renderer. Returns 0, or 1 after showing why the mode could not be set.
int initGraphics();
// Destroys the back buffer, closes the display and stops the text renderer.
void shutdownGraphics();

// The frame end that closes every frame of every screen: the picture goes to
// the screen, the buttons are polled, the frame clock advances and every
// started Counter moves by the new frame time.
void flipScreen();

void clearScreen(unsigned char red, unsigned char green, unsigned char blue);
void plotPixel(int x, int y, unsigned char red, unsigned char green, unsigned char blue);

// Where finished frames go. By default, to the screen; a test installs its
// own presenter to look at each frame and set up the input of the next one.
// An empty function puts the screen back.
using FramePresenter = std::function<void(BITMAP* frame)>;
void setFramePresenter(FramePresenter presenter);

#include "Troll.hpp"

namespace {

// The frame timer climbs at 10 a second and wraps at 2, so each of the two
// frames shows for a tenth of a second.
constexpr double kFrameSpeed = 10.0;
constexpr double kFrameWrapAt = 2.0;
constexpr double kFrameFloor = -300.0;

} // namespace

Troll::~Troll()
{
    walkImage1.destroy();
    walkImage2.destroy();
    smashImage1.destroy();
    smashImage2.destroy();
}

void Troll::load()
{
    walkImage1.load("troll1.bmp");
    walkImage2.load("troll2.bmp");
    smashImage1.load("troll3.bmp");
    smashImage2.load("troll4.bmp");
    animation.setMin(kFrameFloor);
    animation.setMax(kFrameWrapAt);
    animation.setSpeed(kFrameSpeed);
    animation.setWrap(true);
    animation.setWrapTo(0.0);
    animation.start();
    smashing = false;
}

void Troll::setAnimating(bool on)
{
    if (on)
        animation.start();
    else
        animation.stop();
}

void Troll::draw(int x, int y, double angle) const
{
    const bool secondFrame = animation.intValue() > 0;
    const Image& frame = smashing ? (secondFrame ? smashImage2 : smashImage1)
                                  : (secondFrame ? walkImage2 : walkImage1);
    frame.drawRotated(x, y, angle);
}

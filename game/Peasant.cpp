#include "Peasant.hpp"

#include "framework/Image.hpp"

namespace {

constexpr double kFrameSpeed = 10.0;
constexpr double kFrameWrapAt = 2.0;
constexpr double kFrameFloor = -10.0;

void drawImage(const Image* image, int x, int y, double angle)
{
    if (image)
        image->drawRotated(x, y, angle);
}

} // namespace

void Peasant::setImages(Image* walk1, Image* walk2, Image* squashedImg)
{
    walkImage1 = walk1;
    walkImage2 = walk2;
    squashedImage = squashedImg;
}

void Peasant::launch(int x, double speed)
{
    done = false;
    walking = true;
    squashed = false;
    position.setValue(x);
    position.setSpeed(speed);
    position.start();
    animation.setValue(0.0);
    animation.setSpeed(kFrameSpeed);
    animation.setMax(kFrameWrapAt);
    animation.setMin(kFrameFloor);
    animation.setWrapTo(0.0);
    animation.setWrap(true);
    animation.start();
}

void Peasant::squash()
{
    squashed = true;
    done = true;
    if (!walking)
        return;
    walking = false;
    animation.stop();
    position.stop();
}

void Peasant::setRunning(bool on)
{
    if (on) {
        position.start();
        animation.start();
    } else {
        position.stop();
        animation.stop();
    }
}

void Peasant::draw(int x, int y, double angle) const
{
    if (walking)
        drawImage(animation.intValue() <= 0 ? walkImage1 : walkImage2, x, y, angle);
    if (squashed)
        drawImage(squashedImage, x, y, angle);
}

#include "Art.hpp"

namespace datagen {

std::vector<Picture> allPictures()
{
    std::vector<Picture> all = runPictures();
    for (auto* more : {fireGamePictures, diskGamePictures})
        for (Picture& p : more())
            all.push_back(std::move(p));
    all.push_back(logoPicture());
    return all;
}

} // namespace datagen

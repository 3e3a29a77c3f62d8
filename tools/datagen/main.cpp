// Writes every picture, sound and the music of the game into one folder.
#include "Art.hpp"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    for (const datagen::Picture& p : datagen::allPictures()) {
        if (!writeFile(folder + p.fileName, p.canvas.toBmp())) {
            std::fprintf(stderr, "cannot write %s%s\n", folder.c_str(), p.fileName.c_str());
            return 1;
        }
    }
    return 0;
}

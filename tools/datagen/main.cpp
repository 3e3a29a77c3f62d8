// Writes every picture, sound and the music of the game into one folder.
#include "DataFiles.hpp"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    if (!datagen::writeDataFiles(argv[1])) {
        std::fprintf(stderr, "cannot write the data files into %s\n", argv[1]);
        return 1;
    }
    return 0;
}

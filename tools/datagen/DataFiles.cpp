#include "DataFiles.hpp"

#include "Art.hpp"
#include "Mp3Encoder.hpp"
#include "Music.hpp"
#include "Synth.hpp"

#include <fstream>

namespace datagen {

std::vector<DataFile> allDataFiles()
{
    std::vector<DataFile> files;
    for (const Picture& p : allPictures())
        files.push_back({p.fileName, p.canvas.toBmp()});
    files.push_back({"smush.mp3", encodeMp3(smashSound(), kEffectRate)});
    files.push_back({"breath.mp3", encodeMp3(breathSound(), kEffectRate)});
    files.push_back({"sizzle.mp3", encodeMp3(sizzleSound(), kEffectRate)});
    files.push_back({"click.mp3", encodeMp3(clickSound(), kEffectRate)});
    files.push_back({"motivati.xm", writeXm(composeTheme())});
    return files;
}

bool writeDataFiles(const std::string& folder)
{
    for (const DataFile& f : allDataFiles()) {
        std::ofstream out(folder + "/" + f.name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(f.bytes.data()),
                  static_cast<std::streamsize>(f.bytes.size()));
        if (!out)
            return false;
    }
    return true;
}

} // namespace datagen

#include "LibraryStart.hpp"

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr unsigned char kFirstUnreadableByte = 0xfd;

bool isFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string inFolder(const std::string& folder, const char* name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}

std::string programFolder()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    const std::string program(path, static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/') + 1);
}

} // namespace

std::string libraryConfigFile(const std::string& programFolder, const char* allegroFolder,
                              const char* home)
{
    std::vector<std::string> candidates;
    if (!programFolder.empty())
        candidates.push_back(inFolder(programFolder, "allegro.cfg"));
    if (allegroFolder)
        candidates.push_back(inFolder(allegroFolder, "allegro.cfg"));
    if (home) {
        candidates.push_back(inFolder(home, "allegro.cfg"));
        candidates.push_back(inFolder(home, ".allegrorc"));
    }
    candidates.push_back("/etc/allegro.cfg");
    candidates.push_back("/etc/allegrorc");
    for (const std::string& candidate : candidates) {
        if (isFile(candidate))
            return candidate;
    }
    return {};
}

std::string libraryConfigFile()
{
    return libraryConfigFile(programFolder(), std::getenv("ALLEGRO"), std::getenv("HOME"));
}

bool isReadableLibraryConfig(const char* fileName)
{
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file)
        return true;
    unsigned char chunk[16384];
    bool readable = true;
    std::size_t got;
    while (readable && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        readable = std::none_of(chunk, chunk + got,
                                [](unsigned char byte) { return byte >= kFirstUnreadableByte; });
    std::fclose(file);
    return readable;
}

bool libraryConfigReadable()
{
    const std::string file = libraryConfigFile();
    if (file.empty() || isReadableLibraryConfig(file.c_str()))
        return true;
    std::fprintf(stderr,
                 "grimbledom: the graphics library cannot read its settings file %s: it is not "
                 "a text file. Mend it or remove it.\n",
                 file.c_str());
    return false;
}

bool displayReachable()
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return false;
    Display* display = XOpenDisplay(name);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

std::string libraryStartFailure(const char* libraryError, bool displayThere)
{
    std::string message = "grimbledom: could not start the graphics library";
    if (!displayThere)
        message += ": no display to open a window on";
    else if (libraryError && *libraryError)
        message += std::string(": ") + libraryError;
    return message;
}

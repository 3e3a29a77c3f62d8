#include "framework/LibraryStart.hpp"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

// The library's own UTF-8 routines, taken before any test replaces two of
// them, so that a child process can start the library as it comes.
struct Utf8Routines {
    int (*getc)(const char*);
    int (*getx)(char**);
    int (*setc)(char*, int);
    int (*width)(const char*);
    int (*cwidth)(int);
    int (*isok)(int);
};
const Utf8Routines kLibraryUtf8 = {ugetc, ugetx, usetc, uwidth, ucwidth, uisok};
// The widest character the library's table of text formats gives UTF-8.
constexpr int kLibraryUtf8WidthMax = 4;

// One settings file the library finds as it starts, and what else it needs.
struct Settings {
    std::string name;
    Bytes bytes;
    Bytes languageFile = {}; // "zztext.cfg" beside it, named by the settings
    enum { kFile, kPipe, kEndless, kStartingFolder } kind = kFile;
    bool hangsTheLibrary = false; // as it comes, certainly
};

// One character the library's own writer never finishes: value 2^30 or more.
const Bytes kEndlessCharacter = "\xfd\xbe\x86\x99\xb1\xb6";

// Settings with one character in one of the places a file may hold it.
Bytes aroundCharacter(Bytes character, int place)
{
    switch (place % 5) {
    case 0:
        return character + "\n[system]\nsystem = NONE\n";
    case 1:
        return "[system]\n" + character + "name = 1\n";
    case 2:
        return "[system]\nlanguage = " + character + "\n";
    case 3:
        return "# " + character + " a comment\n[graphics]\n";
    default:
        return "[sound]\ndigi_volume = 20" + character;
    }
}

Bytes utf16(const std::string& text, bool bigEndian)
{
    Bytes bytes = bigEndian ? "\xfe\xff" : "\xff\xfe";
    for (unsigned char c : text) {
        const char low = static_cast<char>(c);
        bytes += bigEndian ? Bytes{'\0', low} : Bytes{low, '\0'};
    }
    return bytes;
}

std::vector<Settings> settingsCorpus()
{
    const Bytes kLanguage = "[system]\nlanguage = zz\n";
    // The name the library shows for its system driver, translated.
    const Bytes kTranslation = "[language]\nAgnostic = Ohne System\n";
    const Bytes kText = "# Settings\n[system]\nlanguage = en\n[graphics]\ngfx_card = AUTO\n";
    std::mt19937 random(20261209);
    auto byteIn = [&random](int low, int high) {
        return static_cast<char>(std::uniform_int_distribution<int>(low, high)(random));
    };
    std::vector<Settings> corpus = {
        {"six bytes", kEndlessCharacter, "", Settings::kFile, true},
        {"Latin-1 comment", "# \xfe\xfd\xff gr\xfc\xdf"
                            "e\n[system]\nlanguage = de\n"},
        {"UTF-16 little-endian", utf16(kText, false)},
        {"UTF-16 big-endian", utf16(kText, true)},
        {"late 0xff", Bytes(70000, 'a') + "\xff"},
        {"UTF-8 text", "# f\xc3\xbcr das Spiel\r\n[system]\r\nlanguage = de\r\n"},
        {"named pipe", "", "", Settings::kPipe},
        {"endless device", "", "", Settings::kEndless},
        {"language file with the six bytes", kLanguage, kTranslation + kEndlessCharacter,
         Settings::kFile, true},
        {"starting folder with an empty HOME", kEndlessCharacter, "", Settings::kStartingFolder,
         true},
    };
    for (int i = 0; i < 60; ++i) {
        Bytes bytes(std::uniform_int_distribution<int>(1, 2048)(random), '\0');
        for (char& byte : bytes)
            byte = byteIn(0, 255);
        corpus.push_back({"random bytes " + std::to_string(i), bytes});
    }
    for (int i = 0; i < 40; ++i) {
        Bytes latin1 = kText;
        for (int n = 0; n < 6; ++n)
            latin1.insert(latin1.begin() + byteIn(0, latin1.size() - 1), byteIn(0xa0, 0xff));
        corpus.push_back({"Latin-1 text " + std::to_string(i), latin1});
        corpus.push_back({"UTF-16 text " + std::to_string(i), utf16(latin1, i % 2)});
    }
    // A lead byte of five to eight bytes' characters, and up to seven
    // continuation bytes.
    auto character = [&] {
        Bytes bytes(1, byteIn(0xf8, 0xff));
        for (int n = byteIn(0, 7); n > 0; --n)
            bytes += byteIn(0x80, 0xbf);
        return bytes;
    };
    for (int i = 0; i < 180; ++i)
        corpus.push_back({"lead byte " + std::to_string(i), aroundCharacter(character(), i)});
    for (int i = 0; i < 20; ++i)
        corpus.push_back({"language file " + std::to_string(i), kLanguage,
                          kTranslation + aroundCharacter(character(), i)});
    return corpus;
}

// Everything the library took from its settings at the start: its error
// text, its system's name (through the language file), and every entry.
std::string settingsSeen()
{
    std::string seen = std::string("error: ") + allegro_error + "\nsystem: "
                       + (system_driver ? get_config_text(system_driver->ascii_name) : "") + "\n";
    const char** sections = nullptr;
    const int sectionCount = list_config_sections(&sections);
    for (int s = -1; s < sectionCount; ++s) {
        const char* section = s < 0 ? nullptr : sections[s];
        const char** names = nullptr;
        const int nameCount = list_config_entries(section, &names);
        for (int n = 0; n < nameCount; ++n)
            seen += std::string(section ? section : "") + " " + names[n] + " = "
                    + get_config_string(section, names[n], "") + "\n";
        free_config_entries(&names);
    }
    free_config_entries(&sections);
    return seen;
}

// The library's start takes milliseconds of processor time; a start that
// takes a whole second never ends. Processor time, not the clock, so that a
// busy machine cannot pass a slow start off as a hang.
constexpr long kHangMicroseconds = 1000000;
constexpr int kBackstopSeconds = 120;

// In a child process: the library's start as the game makes it, without a
// system driver, reading its settings from `folder`; what it took is
// written to `seenFile`. Never returns.
[[noreturn]] void startLibraryIn(const Settings& settings, const fs::path& folder, bool finite,
                                 const fs::path& seenFile)
{
    const itimerval limit = {{0, 0}, {kHangMicroseconds / 1000000, kHangMicroseconds % 1000000}};
    setitimer(ITIMER_PROF, &limit, nullptr);
    alarm(kBackstopSeconds);
    if (settings.kind == Settings::kStartingFolder) {
        unsetenv("ALLEGRO");
        setenv("HOME", "", 1);
        if (chdir(folder.c_str()) != 0)
            _exit(2);
    } else {
        setenv("ALLEGRO", folder.c_str(), 1);
        setenv("HOME", (folder / "home").c_str(), 1);
    }
    allegro_exit(); // forget whatever the test process started before
    register_uformat(U_UTF8, kLibraryUtf8.getc, kLibraryUtf8.getx, kLibraryUtf8.setc,
                     kLibraryUtf8.width, kLibraryUtf8.cwidth, kLibraryUtf8.isok,
                     kLibraryUtf8WidthMax);
    set_uformat(U_UTF8);
    if (finite)
        keepLibraryTextFinite();
    install_allegro(SYSTEM_NONE, &errno, nullptr);
    std::ofstream(seenFile) << settingsSeen();
    _exit(0);
}

void writeSettings(const Settings& settings, const fs::path& folder)
{
    fs::create_directories(folder / "home");
    const fs::path file = folder / "allegro.cfg";
    if (settings.kind == Settings::kPipe)
        mkfifo(file.c_str(), 0600);
    else if (settings.kind == Settings::kEndless)
        fs::create_symlink("/dev/zero", file);
    else
        std::ofstream(file, std::ios::binary) << settings.bytes;
    if (!settings.languageFile.empty())
        std::ofstream(folder / "zztext.cfg", std::ios::binary) << settings.languageFile;
}

// In a child process: the library's start as it comes, then with the
// game's writer, each in a process of its own forked from this same moment,
// so that both meet the same memory. The library reads past the end of its
// line for some damaged files, and then takes whatever lies there. The two
// exit statuses go to the file "statuses".
[[noreturn]] void startBothWays(const Settings& settings, const fs::path& folder)
{
    const fs::path seen[2] = {folder / "bare", folder / "finite"};
    int statuses[2] = {};
    for (int finite = 0; finite < 2; ++finite) {
        const pid_t pid = fork();
        if (pid == 0)
            startLibraryIn(settings, folder, finite, seen[finite]);
        waitpid(pid, &statuses[finite], 0);
    }
    std::ofstream(folder / "statuses") << statuses[0] << ' ' << statuses[1];
    _exit(0);
}

// Starts the library both ways for every settings file, a few files at a time.
void startAll(const std::vector<Settings>& corpus, const fs::path& root)
{
    const unsigned most = 2 * std::max(1u, std::thread::hardware_concurrency());
    unsigned running = 0;
    for (std::size_t i = 0; i < corpus.size(); ++i) {
        for (; running >= most; --running)
            wait(nullptr);
        if (fork() == 0)
            startBothWays(corpus[i], root / std::to_string(i));
        ++running;
    }
    for (; running > 0; --running)
        wait(nullptr);
}

std::string readAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool finished(int status)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool hung(int status)
{
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGPROF;
}

} // namespace

// Settings of every kind, started by the library as it comes and with the
// game's writer: with it, no start hangs, and every start that ends without
// it takes exactly the same settings and texts with it.
TEST(LibraryStart, NoSettingsFileHangsTheStartAndEveryReadableOneReadsAsBefore)
{
    const fs::path root = ::testing::TempDir() + "librarystart-" + std::to_string(getpid());
    const std::vector<Settings> corpus = settingsCorpus();
    for (std::size_t i = 0; i < corpus.size(); ++i)
        writeSettings(corpus[i], root / std::to_string(i));
    startAll(corpus, root);

    int hangsWithout = 0;
    for (std::size_t i = 0; i < corpus.size(); ++i) {
        const fs::path folder = root / std::to_string(i);
        int bare = -1, finite = -1;
        std::ifstream(folder / "statuses") >> bare >> finite;
        SCOPED_TRACE(corpus[i].name);
        EXPECT_TRUE(finished(finite)) << "status " << finite;
        EXPECT_TRUE(finished(bare) || hung(bare)) << "status " << bare;
        if (finished(bare)) {
            EXPECT_EQ(readAll(folder / "finite"), readAll(folder / "bare")) << folder;
        }
        hangsWithout += hung(bare);
        if (corpus[i].hangsTheLibrary) {
            EXPECT_TRUE(hung(bare)) << "the library as it comes hangs on this one";
        }
    }
    std::cout << hangsWithout << " of " << corpus.size()
              << " settings files hang the library as it comes; none with the game's writer\n";
    EXPECT_GT(hangsWithout, 10);
    if (!HasFailure())
        fs::remove_all(root);
}

// Every character the library can write, it writes and measures as before.
TEST(LibraryStart, WritesEveryCharacterTheLibraryFinishesAsTheLibraryDoes)
{
    keepLibraryTextFinite();
    std::mt19937 random(7);
    std::vector<int> characters = {INT_MIN,  -1,        0,         0x7f,      0x80,
                                   0x7ff,    0x800,     0xffff,    0x10000,   0x1fffff,
                                   0x200000, 0x3ffffff, 0x4000000, 0x3fffffff};
    for (int i = 0; i < 100000; ++i)
        characters.push_back(static_cast<int>(random()) % 0x40000000 - (i % 2 ? 0x40000000 : 0));
    for (int c : characters) {
        char ours[8] = {}, library[8] = {};
        ASSERT_EQ(usetc(ours, c), kLibraryUtf8.setc(library, c)) << c;
        ASSERT_EQ(Bytes(ours, 8), Bytes(library, 8)) << c;
        ASSERT_EQ(ucwidth(c), kLibraryUtf8.cwidth(c)) << c;
    }
    // Where the library's own never returns, the character's six bytes.
    char six[8] = {};
    EXPECT_EQ(usetc(six, ugetc(kEndlessCharacter.c_str())), 6);
    EXPECT_EQ(Bytes(six, 6), kEndlessCharacter);
    EXPECT_EQ(ucwidth(0x7fffffff), 6);
}

TEST(LibraryStartFailure, SaysNoDisplayOnlyWhenThereIsNone)
{
    EXPECT_EQ(libraryStartFailure("", false),
              "grimbledom: could not start the graphics library: no display to open a window on");
    EXPECT_EQ(libraryStartFailure("", true), "grimbledom: could not start the graphics library");
    EXPECT_EQ(libraryStartFailure("Not enough memory", true),
              "grimbledom: could not start the graphics library: Not enough memory");

    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    EXPECT_FALSE(displayReachable());
    setenv("DISPLAY", "", 1);
    EXPECT_FALSE(displayReachable());
    if (display)
        setenv("DISPLAY", saved.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

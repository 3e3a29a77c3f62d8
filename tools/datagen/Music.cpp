#include "Music.hpp"

#include "Synth.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <sstream>
#include <string>

namespace datagen {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Every tone is built from 128-sample cycles. At this rate a cycle is middle
// C; the instruments' relative note and finetune make the player agree.
constexpr double kSampleRate = 128 * 261.6256;
constexpr int kCycle = 128;
constexpr int kRelativeNote = 24;
constexpr int kFinetune = 2;

enum Instrument { kBass = 1, kLead, kArp, kKick, kSnare, kHat, kCrash };
enum Channel { kBassCh, kLeadCh, kEchoCh, kArpCh, kKickCh, kSnareCh, kHatCh, kCrashCh, kChannels };

// Places in the stereo field, 0 hard left to 255 hard right. The bass, the
// kick and the lead keep the middle (an instrument's place unless set);
// the echo answers the lead from the left, the arpeggio from the right, and
// the snare and cymbals sit either side.
constexpr int kEchoPan = 48;
constexpr int kArpPan = 160;
constexpr int kSnarePan = 96;
constexpr int kHatPan = 72;
constexpr int kCrashPan = 176;
constexpr std::uint8_t kSetPanning = 0x08; // effect 8xx

std::int16_t toPcm(double v)
{
    return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32000));
}

// Cycles built by adding harmonics. amplitude(k, when) gives harmonic k's
// strength: when runs 0..1 over the attack cycles, then 0..1 again over the
// loop, which must end where it begins so the loop joins without a click.
XmSample toneSample(const std::string& name, int attackCycles, int loopCycles, int harmonics,
                    const std::function<double(int, bool, double)>& amplitude)
{
    std::array<double, kCycle> sine{};
    for (int i = 0; i < kCycle; ++i)
        sine[i] = std::sin(2 * kPi * i / kCycle);
    const int cycles = attackCycles + loopCycles;
    auto strengths = [&](int cycle) {
        std::vector<double> a(harmonics + 1);
        const bool attack = cycle < attackCycles;
        const double when =
            attack ? static_cast<double>(cycle) / attackCycles
                   : static_cast<double>((cycle - attackCycles) % loopCycles) / loopCycles;
        for (int k = 1; k <= harmonics; ++k)
            a[k] = amplitude(k, attack, when);
        return a;
    };
    std::vector<double> wave(static_cast<std::size_t>(cycles) * kCycle);
    for (int c = 0; c < cycles; ++c) {
        const std::vector<double> from = strengths(c), to = strengths(c + 1);
        for (int i = 0; i < kCycle; ++i) {
            const double blend = static_cast<double>(i) / kCycle;
            double v = 0;
            for (int k = 1; k <= harmonics; ++k)
                v += (from[k] + (to[k] - from[k]) * blend) * sine[(k * i) % kCycle];
            wave[static_cast<std::size_t>(c) * kCycle + i] = v;
        }
    }
    const double peak =
        std::max(1e-9, *std::max_element(wave.begin(), wave.end(), [](double a, double b) {
                     return std::abs(a) < std::abs(b);
                 }));
    XmSample s;
    s.name = name;
    for (double v : wave)
        s.data.push_back(toPcm(0.95 * v / std::abs(peak)));
    s.loopStart = attackCycles * kCycle;
    s.loopLength = loopCycles * kCycle;
    s.relativeNote = kRelativeNote;
    s.finetune = kFinetune;
    return s;
}

XmSample drumSample(const std::string& name, double seconds,
                    const std::function<double(double, Random&)>& voice, std::uint32_t seed)
{
    Random random(seed);
    std::vector<float> wave(static_cast<std::size_t>(seconds * kSampleRate));
    for (std::size_t i = 0; i < wave.size(); ++i)
        wave[i] = static_cast<float>(voice(i / kSampleRate, random));
    normalise(wave, 0.95);
    XmSample s;
    s.name = name;
    for (float v : wave)
        s.data.push_back(toPcm(v));
    s.relativeNote = kRelativeNote;
    s.finetune = kFinetune;
    return s;
}

XmInstrument bass()
{
    XmInstrument in;
    in.name = "bass";
    // A bright pluck that settles into a round, dark saw.
    in.sample = toneSample("bass", 24, 1, 24, [](int k, bool attack, double when) {
        const double brightness = attack ? 3.5 + 10.0 * (1 - when) : 3.5;
        return (k == 1 ? 1.6 : 1.0) / k * std::exp(-k / brightness);
    });
    in.volumeEnvelope = {{0, 64}, {8, 50}, {40, 40}};
    in.sustainPoint = 2;
    in.fadeout = 3000;
    return in;
}

XmInstrument lead()
{
    XmInstrument in;
    in.name = "lead";
    // A pulse whose width swings slowly, for a chorus-like shimmer.
    in.sample = toneSample("lead", 8, 64, 28, [](int k, bool attack, double when) {
        const double width = attack ? 0.5 - 0.22 * when : 0.28 + 0.12 * std::sin(2 * kPi * when);
        return 2.0 / (k * kPi) * std::sin(k * kPi * width) * std::exp(-k / 14.0);
    });
    in.sample.volume = 48;
    in.volumeEnvelope = {{0, 40}, {2, 64}, {16, 52}, {48, 44}};
    in.sustainPoint = 3;
    in.fadeout = 2500;
    in.vibratoSweep = 40;
    in.vibratoDepth = 3;
    in.vibratoRate = 12;
    return in;
}

XmInstrument arp()
{
    XmInstrument in;
    in.name = "arpeggio";
    in.sample = toneSample("arpeggio", 1, 1, 21, [](int k, bool, double) {
        return k % 2 ? 1.0 / k * std::exp(-k / 10.0) : 0.12 / k;
    });
    in.sample.volume = 34;
    in.sample.panning = kArpPan;
    in.volumeEnvelope = {{0, 64}, {6, 30}, {20, 0}};
    return in;
}

XmInstrument kick()
{
    XmInstrument in;
    in.name = "kick";
    double phase = 0, last = 0;
    in.sample = drumSample(
        "kick", 0.32,
        [&](double t, Random& random) {
            phase += 2 * kPi * (44 + 120 * std::exp(-t / 0.025)) * (t - last);
            last = t;
            const double click = t < 0.003 ? random.noise() * 0.6 : 0.0;
            return std::sin(phase) * std::exp(-t / 0.11) + click;
        },
        0xD1);
    return in;
}

XmInstrument snare()
{
    XmInstrument in;
    in.name = "snare";
    Filter body;
    in.sample = drumSample(
        "snare", 0.25,
        [&](double t, Random& random) {
            const double tone = (std::sin(2 * kPi * 185 * t) + 0.5 * std::sin(2 * kPi * 330 * t))
                                * std::exp(-t / 0.04);
            const double rattle =
                body.step(random.noise(), 4200, 0.9, kSampleRate).band * std::exp(-t / 0.075);
            return 0.8 * tone + 2.2 * rattle;
        },
        0xD2);
    in.sample.volume = 52;
    in.sample.panning = kSnarePan;
    return in;
}

XmInstrument cymbal(const std::string& name, double seconds, double decay, std::uint32_t seed,
                    int volume, int panning)
{
    XmInstrument in;
    in.name = name;
    Filter air;
    in.sample = drumSample(
        name, seconds,
        [&](double t, Random& random) {
            return air.step(random.noise(), 7000, 0.7, kSampleRate).high * std::exp(-t / decay);
        },
        seed);
    in.sample.volume = volume;
    in.sample.panning = panning;
    return in;
}

// Note names like "A4", "C#5", "-" (hold) and "." (release), eight to a bar.
std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

int noteNumber(const std::string& name)
{
    static const std::string letters = "C D EF G A B";
    int semitone = static_cast<int>(letters.find(name[0]));
    std::size_t i = 1;
    if (name[i] == '#') {
        ++semitone;
        ++i;
    }
    const int octave = name[i] - '0';
    return 1 + octave * 12 + semitone;
}

struct Chord {
    std::string root;         // with its octave, for the bass
    std::array<int, 3> tones; // semitones above the root
};

const Chord kAm{"A1", {0, 3, 7}}, kF{"F1", {0, 4, 7}}, kC{"C2", {0, 4, 7}}, kG{"G1", {0, 4, 7}},
    kDm{"D2", {0, 3, 7}}, kE{"E1", {0, 4, 7}}, kEm{"E2", {0, 3, 7}};

class PatternBuilder {
public:
    PatternBuilder() { pattern_.cells.resize(64 * kChannels); }

    XmCell& cell(int row, int channel) { return pattern_.cells[row * kChannels + channel]; }

    void note(int row, int channel, int note, int instrument, int volume = -1)
    {
        XmCell& c = cell(row, channel);
        c.note = static_cast<std::uint8_t>(note);
        c.instrument = static_cast<std::uint8_t>(instrument);
        if (volume >= 0)
            c.volume = static_cast<std::uint8_t>(0x10 + volume);
    }

    // Driving eighths, root and octave in turn, for four bars.
    void bassLine(const std::array<Chord, 4>& chords)
    {
        for (int bar = 0; bar < 4; ++bar)
            for (int step = 0; step < 8; ++step)
                note(bar * 16 + step * 2, kBassCh,
                     noteNumber(chords[bar].root) + (step % 2 ? 12 : 0), kBass, step % 2 ? 44 : 60);
    }

    // Chord tones rippling up and down in sixteenths, two octaves up.
    void arpeggio(const std::array<Chord, 4>& chords)
    {
        static const int shape[8] = {0, 1, 2, 3, 2, 1, 0, 2};
        for (int bar = 0; bar < 4; ++bar) {
            const int root = noteNumber(chords[bar].root) + 24;
            for (int step = 0; step < 16; ++step) {
                const int i = shape[step % 8];
                const int tone = i == 3 ? 12 : chords[bar].tones[i];
                note(bar * 16 + step, kArpCh, root + tone, kArp, step % 4 == 0 ? 40 : 28);
            }
        }
    }

    void drums(bool full)
    {
        for (int bar = 0; bar < 4; ++bar) {
            const int r = bar * 16;
            note(r, kKickCh, 49, kKick);
            note(r + 8, kKickCh, 49, kKick);
            if (full && bar % 2 == 1)
                note(r + 10, kKickCh, 49, kKick, 48);
            if (full) {
                note(r + 4, kSnareCh, 49, kSnare);
                note(r + 12, kSnareCh, 49, kSnare);
            }
            for (int step = 0; step < 8; ++step)
                note(r + step * 2, kHatCh, 49, kHat, step % 2 ? 40 : 22);
        }
        if (full) {
            note(62, kSnareCh, 49, kSnare, 36);
            note(63, kSnareCh, 49, kSnare, 48);
        }
    }

    void crash() { note(0, kCrashCh, 49, kCrash); }

    // The tune on the lead, and a quieter copy three rows later as an echo.
    void melody(const std::array<std::string, 4>& bars)
    {
        for (int bar = 0; bar < 4; ++bar) {
            const std::vector<std::string> steps = words(bars[bar]);
            for (int step = 0; step < static_cast<int>(steps.size()); ++step) {
                const std::string& s = steps[step];
                if (s == "-")
                    continue;
                const int row = bar * 16 + step * 2;
                const int n = s == "." ? kNoteOff : noteNumber(s);
                note(row, kLeadCh, n, n == kNoteOff ? 0 : kLead);
                if (row + 3 < 64)
                    echo(row + 3, n);
            }
        }
    }

    XmPattern take() { return pattern_; }

private:
    // The lead's instrument, quieter and moved off the middle.
    void echo(int row, int n)
    {
        if (n == kNoteOff) {
            note(row, kEchoCh, n, 0);
            return;
        }
        note(row, kEchoCh, n, kLead, 20);
        cell(row, kEchoCh).effect = kSetPanning;
        cell(row, kEchoCh).param = kEchoPan;
    }

    XmPattern pattern_;
};

const std::array<Chord, 4> kVerse{kAm, kF, kC, kG};
const std::array<Chord, 4> kBridge{kDm, kG, kEm, kE};

XmPattern intro()
{
    PatternBuilder p;
    p.bassLine(kVerse);
    p.arpeggio(kVerse);
    p.drums(false);
    return p.take();
}

XmPattern verse(bool answer)
{
    PatternBuilder p;
    p.crash();
    p.bassLine(kVerse);
    p.arpeggio(kVerse);
    p.drums(true);
    p.melody({"A4 C5 E5 A5 G5 E5 D5 E5", "F5 - E5 C5 A4 - C5 -", "G5 - E5 G5 C6 - B5 G5",
              answer ? "B5 - A5 G5 D5 - B4 ." : "D5 - B4 D5 G5 F5 E5 D5"});
    return p.take();
}

XmPattern bridge()
{
    PatternBuilder p;
    p.crash();
    p.bassLine(kBridge);
    p.arpeggio(kBridge);
    p.drums(true);
    p.melody({"A5 - - G5 F5 - E5 F5", "G5 - - F5 D5 - B4 D5", "E5 - G5 E5 B5 - G5 E5",
              "G#5 - E5 - B4 - G#4 ."});
    return p.take();
}

// The drums drop out and the arpeggio carries the chords alone for a breath.
XmPattern breakdown()
{
    PatternBuilder p;
    p.bassLine(kVerse);
    p.arpeggio(kVerse);
    p.melody({"E5 - - - . - - -", "C5 - - - . - - -", "G5 - - - . - - -", "B4 - - - D5 - E5 -"});
    for (int bar = 0; bar < 4; ++bar)
        p.note(bar * 16, kKickCh, 49, kKick, 40);
    return p.take();
}

} // namespace

XmModule composeTheme()
{
    XmModule m;
    m.name = "motivation";
    m.channels = kChannels;
    m.ticksPerRow = 6;
    m.beatsPerMinute = 150;
    m.patterns = {intro(), verse(false), verse(true), bridge(), breakdown()};
    // About 58 seconds, then back to the first verse.
    m.order = {0, 1, 2, 3, 1, 2, 4, 3, 2};
    m.restartPosition = 1;
    m.instruments = {bass(),
                     lead(),
                     arp(),
                     kick(),
                     snare(),
                     cymbal("hat", 0.06, 0.015, 0xD3, 30, kHatPan),
                     cymbal("crash", 0.9, 0.3, 0xD4, 34, kCrashPan)};
    return m;
}

} // namespace datagen

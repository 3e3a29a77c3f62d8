#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace datagen {

// One sample of an instrument: 16-bit signed, lengths in sample frames.
struct XmSample {
    std::string name;
    std::vector<std::int16_t> data;
    int loopStart = 0;
    int loopLength = 0; // 0: plays once
    int volume = 64;
    int finetune = 0; // 1/128 semitone
    int relativeNote = 0;
    int panning = 128;
};

struct XmInstrument {
    std::string name;
    XmSample sample;
    // (tick, level 0..64) points; empty for no envelope.
    std::vector<std::pair<int, int>> volumeEnvelope;
    int sustainPoint = -1;
    int fadeout = 0;
    int vibratoDepth = 0;
    int vibratoRate = 0;
    int vibratoSweep = 0;
};

struct XmCell {
    std::uint8_t note = 0; // 1 is C-0, 97 releases the note
    std::uint8_t instrument = 0;
    std::uint8_t volume = 0; // volume column byte, 0x10 + level for a level
    std::uint8_t effect = 0;
    std::uint8_t param = 0;
};

constexpr std::uint8_t kNoteOff = 97;

struct XmPattern {
    int rows = 64;
    std::vector<XmCell> cells; // rows times channels, row by row
};

struct XmModule {
    std::string name;
    int channels = 8;
    int ticksPerRow = 6;
    int beatsPerMinute = 125;
    int restartPosition = 0;
    std::vector<std::uint8_t> order;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

// The module as an Extended Module (XM 1.04) file, with linear frequencies,
// packed pattern data and delta-coded samples.
std::vector<std::uint8_t> writeXm(const XmModule& module);

} // namespace datagen

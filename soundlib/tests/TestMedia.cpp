#include "TestMedia.hpp"

#include <lame/lame.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kMp3Rate = 32000;
constexpr int kMp3Kbps = 64;

std::vector<short> sineWave(double seconds, double frequency)
{
    const double kTwoPi = 6.283185307179586;
    std::vector<short> pcm(static_cast<std::size_t>(seconds * kMp3Rate));
    for (std::size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<short>(12000 * std::sin(kTwoPi * frequency * i / kMp3Rate));
    return pcm;
}

// Little-endian writer for the XM layout.
class Bytes {
public:
    void u8(int v) { data_.push_back(static_cast<char>(v & 0xFF)); }
    void u16(int v)
    {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<int>(v & 0xFFFF));
        u16(static_cast<int>(v >> 16));
    }
    void text(const std::string& s, std::size_t width)
    {
        for (std::size_t i = 0; i < width; ++i)
            u8(i < s.size() ? s[i] : 0);
    }
    void zeros(std::size_t n) { data_.append(n, '\0'); }
    const std::string& data() const { return data_; }

private:
    std::string data_;
};

constexpr int kRows = 8;
constexpr int kSampleLength = 32;
constexpr int kNoteC4 = 49;

void xmHeader(Bytes& b, int patterns, int restart)
{
    b.text("Extended Module: ", 17);
    b.text("tone", 20);
    b.u8(0x1A);
    b.text("grimbledom tests", 20);
    b.u16(0x0104);
    b.u32(276);      // header size, counted from this field
    b.u16(patterns); // orders
    b.u16(restart);  // restart position
    b.u16(2);        // channels
    b.u16(patterns); // patterns
    b.u16(1);        // instruments
    b.u16(1);        // linear frequency table
    b.u16(3);        // ticks per row
    b.u16(125);      // beats per minute
    for (int order = 0; order < 256; ++order)
        b.u8(order < patterns ? order : 0); // each pattern once, in turn
}

void xmPattern(Bytes& b, bool withNote)
{
    constexpr int kEmpty = 0x80; // packed entry with no fields
    b.u32(9);
    b.u8(0);
    b.u16(kRows);
    b.u16((withNote ? 5 : 1) + 1 + (kRows - 1) * 2);
    if (withNote) {
        b.u8(kNoteC4);
        b.u8(1); // instrument
        b.u8(0);
        b.u8(0);
        b.u8(0);
    } else {
        b.u8(kEmpty);
    }
    b.u8(kEmpty);
    for (int row = 1; row < kRows; ++row) {
        b.u8(kEmpty);
        b.u8(kEmpty);
    }
}

void xmInstrument(Bytes& b, int panning)
{
    b.u32(263);
    b.text("square", 22);
    b.u8(0);
    b.u16(1);                   // samples
    b.u32(40);                  // sample header size
    b.zeros(96 + 48 + 48 + 14); // key map, envelopes, envelope settings, vibrato
    b.u16(0);                   // fadeout
    b.zeros(22);
    b.u32(kSampleLength);
    b.u32(0);             // loop start
    b.u32(kSampleLength); // loop length
    b.u8(64);             // volume
    b.u8(0);              // finetune
    b.u8(1);              // forward loop, 8-bit
    b.u8(panning);
    b.u8(0); // relative note
    b.u8(0);
    b.text("square", 22);
    int previous = 0;
    for (int i = 0; i < kSampleLength; ++i) {
        const int value = i < kSampleLength / 2 ? 64 : -64;
        b.u8(value - previous); // samples are stored as differences
        previous = value;
    }
}

} // namespace

void writeToneMp3(const std::string& path, double seconds, double frequency)
{
    std::vector<short> pcm = sineWave(seconds, frequency);
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, kMp3Rate);
    lame_set_out_samplerate(lame, kMp3Rate);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, kMp3Kbps);
    lame_set_bWriteVbrTag(lame, 0);
    lame_init_params(lame);
    std::vector<unsigned char> mp3(pcm.size() * 5 / 4 + 7200 + 7200);
    int size = lame_encode_buffer(lame, pcm.data(), pcm.data(), static_cast<int>(pcm.size()),
                                  mp3.data(), static_cast<int>(mp3.size()));
    size += lame_encode_flush(lame, mp3.data() + size, static_cast<int>(mp3.size()) - size);
    lame_close(lame);
    writeBytes(path, std::string(mp3.begin(), mp3.begin() + size));
}

void writeToneXm(const std::string& path, int panning)
{
    Bytes b;
    xmHeader(b, 1, 0);
    xmPattern(b, true);
    xmInstrument(b, panning);
    writeBytes(path, b.data());
}

void writeIntroXm(const std::string& path)
{
    Bytes b;
    xmHeader(b, 2, 1);
    xmPattern(b, false);
    xmPattern(b, true);
    xmInstrument(b, 128);
    writeBytes(path, b.data());
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

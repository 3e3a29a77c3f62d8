#include "XmWriter.hpp"

#include <stdexcept>

namespace datagen {

namespace {

class Bytes {
public:
    void u8(int v) { out_.push_back(static_cast<std::uint8_t>(v)); }
    void u16(int v)
    {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<int>(v & 0xFFFF));
        u16(static_cast<int>(v >> 16));
    }
    // Space-padded or cut to exactly width bytes.
    void text(const std::string& s, std::size_t width, char pad = ' ')
    {
        for (std::size_t i = 0; i < width; ++i)
            u8(i < s.size() ? s[i] : pad);
    }
    void append(const std::vector<std::uint8_t>& more)
    {
        out_.insert(out_.end(), more.begin(), more.end());
    }
    std::vector<std::uint8_t>& data() { return out_; }

private:
    std::vector<std::uint8_t> out_;
};

void writeHeader(Bytes& b, const XmModule& m)
{
    b.text("Extended Module: ", 17);
    b.text(m.name, 20);
    b.u8(0x1A);
    b.text("grimbledom-datagen", 20);
    b.u16(0x0104);
    b.u32(20 + 256);
    b.u16(static_cast<int>(m.order.size()));
    b.u16(m.restartPosition);
    b.u16(m.channels);
    b.u16(static_cast<int>(m.patterns.size()));
    b.u16(static_cast<int>(m.instruments.size()));
    b.u16(1); // linear frequency table
    b.u16(m.ticksPerRow);
    b.u16(m.beatsPerMinute);
    for (int i = 0; i < 256; ++i)
        b.u8(i < static_cast<int>(m.order.size()) ? m.order[i] : 0);
}

// Each cell either as its five bytes or, when some are empty, as a flag
// byte naming the ones that follow.
std::vector<std::uint8_t> packPattern(const XmPattern& p)
{
    Bytes b;
    for (const XmCell& c : p.cells) {
        const std::uint8_t fields[5] = {c.note, c.instrument, c.volume, c.effect, c.param};
        int flags = 0;
        for (int i = 0; i < 5; ++i)
            if (fields[i])
                flags |= 1 << i;
        if (flags == 0x1F) {
            for (std::uint8_t f : fields)
                b.u8(f);
            continue;
        }
        b.u8(0x80 | flags);
        for (int i = 0; i < 5; ++i)
            if (fields[i])
                b.u8(fields[i]);
    }
    return b.data();
}

void writePattern(Bytes& b, const XmPattern& p, int channels)
{
    if (static_cast<int>(p.cells.size()) != p.rows * channels)
        throw std::invalid_argument("pattern cells do not match rows and channels");
    const std::vector<std::uint8_t> packed = packPattern(p);
    b.u32(9);
    b.u8(0);
    b.u16(p.rows);
    b.u16(static_cast<int>(packed.size()));
    b.append(packed);
}

void writeEnvelopePoints(Bytes& b, const std::vector<std::pair<int, int>>& points)
{
    for (int i = 0; i < 12; ++i) {
        b.u16(i < static_cast<int>(points.size()) ? points[i].first : 0);
        b.u16(i < static_cast<int>(points.size()) ? points[i].second : 0);
    }
}

void writeSampleHeader(Bytes& b, const XmSample& s)
{
    b.u32(static_cast<std::uint32_t>(s.data.size() * 2));
    b.u32(static_cast<std::uint32_t>(s.loopStart * 2));
    b.u32(static_cast<std::uint32_t>(s.loopLength * 2));
    b.u8(s.volume);
    b.u8(static_cast<std::uint8_t>(static_cast<std::int8_t>(s.finetune)));
    b.u8((s.loopLength > 0 ? 1 : 0) | 0x10); // forward loop, 16-bit
    b.u8(s.panning);
    b.u8(static_cast<std::uint8_t>(static_cast<std::int8_t>(s.relativeNote)));
    b.u8(0);
    b.text(s.name, 22);
}

void writeSampleData(Bytes& b, const XmSample& s)
{
    std::int16_t previous = 0;
    for (std::int16_t v : s.data) {
        b.u16(static_cast<std::uint16_t>(v - previous));
        previous = v;
    }
}

void writeInstrument(Bytes& b, const XmInstrument& in)
{
    if (in.volumeEnvelope.size() > 12)
        throw std::invalid_argument("an envelope holds at most 12 points");
    b.u32(263);
    b.text(in.name, 22);
    b.u8(0);
    b.u16(1);
    b.u32(40);
    for (int note = 0; note < 96; ++note)
        b.u8(0);
    writeEnvelopePoints(b, in.volumeEnvelope);
    writeEnvelopePoints(b, {});
    b.u8(static_cast<int>(in.volumeEnvelope.size()));
    b.u8(0);
    b.u8(in.sustainPoint < 0 ? 0 : in.sustainPoint);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    b.u8((in.volumeEnvelope.empty() ? 0 : 1) | (in.sustainPoint >= 0 ? 2 : 0));
    b.u8(0);
    b.u8(0); // sine vibrato
    b.u8(in.vibratoSweep);
    b.u8(in.vibratoDepth);
    b.u8(in.vibratoRate);
    b.u16(in.fadeout);
    b.text("", 22, '\0');
    writeSampleHeader(b, in.sample);
    writeSampleData(b, in.sample);
}

} // namespace

std::vector<std::uint8_t> writeXm(const XmModule& module)
{
    if (module.order.empty() || module.order.size() > 256 || module.patterns.size() > 256
        || module.instruments.size() > 128 || module.channels < 1 || module.channels > 32)
        throw std::invalid_argument("module out of the format's limits");
    Bytes b;
    writeHeader(b, module);
    for (const XmPattern& p : module.patterns)
        writePattern(b, p, module.channels);
    for (const XmInstrument& in : module.instruments)
        writeInstrument(b, in);
    return b.data();
}

} // namespace datagen

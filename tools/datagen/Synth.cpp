#include "Synth.hpp"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<float> silence(double seconds)
{
    return std::vector<float>(static_cast<std::size_t>(seconds * kEffectRate), 0.0f);
}

// Rises over attack seconds, then falls by a factor e every decay seconds.
double envelope(double t, double attack, double decay)
{
    return t < attack ? t / attack : std::exp(-(t - attack) / decay);
}

} // namespace

double Random::noise()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ / 2147483647.5 - 1.0;
}

Filter::Out Filter::step(double input, double cutoffHz, double resonance, double rate)
{
    const double f = 2.0 * std::sin(kPi * std::min(cutoffHz, rate / 6.0) / rate);
    const double q = 1.0 / std::max(resonance, 0.5);
    low_ += f * band_;
    const double high = input - low_ - q * band_;
    band_ += f * high;
    return {low_, band_, high};
}

void normalise(std::vector<float>& samples, double peak)
{
    float loudest = 0.0f;
    for (float s : samples)
        loudest = std::max(loudest, std::abs(s));
    if (loudest > 0.0f)
        for (float& s : samples)
            s = static_cast<float>(s * peak / loudest);
}

// A club landing in something soft: a falling thump, a burst of dull noise
// and a gurgle whose pitch drops as it dies away.
std::vector<float> smashSound()
{
    std::vector<float> out = silence(0.45);
    Random random(0x5EED01);
    Filter crunch, gurgle;
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kEffectRate;
        phase += 2 * kPi * (38 + 90 * std::exp(-t / 0.04)) / kEffectRate;
        const double thump = std::sin(phase) * envelope(t, 0.002, 0.09);
        const double noise = random.noise();
        const double burst =
            crunch.step(noise, 1800 * std::exp(-t / 0.08) + 200, 0.8, kEffectRate).low
            * envelope(t, 0.001, 0.05);
        const double wobble = 700 * std::exp(-t / 0.15) + 250 + 120 * std::sin(2 * kPi * 23 * t);
        const double wet =
            gurgle.step(noise, wobble, 9.0, kEffectRate).band * envelope(t, 0.01, 0.12);
        out[i] = static_cast<float>(0.9 * thump + 1.2 * burst + 0.5 * wet);
    }
    normalise(out, 0.9);
    return out;
}

// A roaring blast of fire: noise through a sweeping resonant filter with a
// low rumble and the odd crackle.
std::vector<float> breathSound()
{
    std::vector<float> out = silence(0.9);
    Random random(0x5EED02);
    Filter roar, rumble;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kEffectRate;
        const double noise = random.noise();
        const double sweep =
            400 + 2600 * std::sin(kPi * std::min(t / 0.9, 1.0)) * std::exp(-t / 0.6);
        const double whoosh = roar.step(noise, sweep, 2.5, kEffectRate).band;
        const double low = rumble.step(noise, 140, 1.0, kEffectRate).low;
        const double crackle = random.unit() > 0.9985 ? random.noise() * 3 : 0.0;
        const double shape = envelope(t, 0.07, 0.3);
        out[i] = static_cast<float>(shape * (whoosh + 1.5 * low + crackle * 0.4));
    }
    normalise(out, 0.85);
    return out;
}

// Fat on a hot plate: hiss with a ragged level and sharp pops.
std::vector<float> sizzleSound()
{
    std::vector<float> out = silence(1.0);
    Random random(0x5EED03);
    Filter hiss;
    double level = 0.5;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kEffectRate;
        level += 0.002 * (random.noise() - (level - 0.6));
        const double high = hiss.step(random.noise(), 3500, 0.7, kEffectRate).high;
        const double pop = random.unit() > 0.997 ? random.noise() * 2.5 : 0.0;
        out[i] = static_cast<float>(envelope(t, 0.015, 0.35) * (high * std::max(level, 0.1) + pop));
    }
    normalise(out, 0.8);
    return out;
}

// A short hard tick with a bright ring, like a ratchet catching.
std::vector<float> clickSound()
{
    std::vector<float> out = silence(0.15);
    Random random(0x5EED04);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kEffectRate;
        const double snap = random.noise() * envelope(t, 0.0002, 0.002);
        const double ring = std::sin(2 * kPi * 2300 * t) * envelope(t, 0.0005, 0.018);
        const double body = std::sin(2 * kPi * 620 * t) * envelope(t, 0.0005, 0.03);
        out[i] = static_cast<float>(snap + 0.7 * ring + 0.5 * body);
    }
    normalise(out, 0.9);
    return out;
}

} // namespace datagen

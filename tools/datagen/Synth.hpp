#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

// A fixed-seed noise source, so every build makes the same sounds.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed ? seed : 1u) {}
    // Uniform in -1..1.
    double noise();
    // Uniform in 0..1.
    double unit() { return (noise() + 1.0) * 0.5; }

private:
    std::uint32_t state_;
};

// Resonant two-pole filter (Chamberlin state-variable form); cutoff may
// change from sample to sample for sweeps.
class Filter {
public:
    struct Out {
        double low, band, high;
    };
    Out step(double input, double cutoffHz, double resonance, double rate);

private:
    double low_ = 0, band_ = 0;
};

constexpr int kEffectRate = 44100;

// Scales a sound so its loudest sample stands at peak.
void normalise(std::vector<float>& samples, double peak);

// The four sound effects, mono at kEffectRate.
std::vector<float> smashSound();
std::vector<float> breathSound();
std::vector<float> sizzleSound();
std::vector<float> clickSound();

} // namespace datagen

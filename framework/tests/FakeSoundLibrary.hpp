#pragma once

#include <string>
#include <vector>

// A stand-in for the sound library that records every call made to it, in
// order, as text such as "FSOUND_PlaySound -1 sample1".
namespace fakesound {

struct Script {
    float version = 3.74f;
    bool initSucceeds = true;
    int error = 0;
    bool loadsSucceed = true;
    // What FSOUND_IsPlaying answers.
    bool playing = true;
};

// Forgets every call and every sample, and takes the given answers.
void reset(const Script& script = Script());
Script& script();
const std::vector<std::string>& calls();

} // namespace fakesound

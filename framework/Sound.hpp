#pragma once

#include <optional>

struct FSoundSample;

// An owning handle of one short sound sample, played on a free channel of
// the sound library. Empty until loaded, or when its file could not be
// read; an empty Sound does nothing and stays silent.
class Sound {
public:
    Sound() = default;
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Replaces the sample with the named MP3 file's, played once per play.
    void load(const char* fileName);
    // Starts the sample; unless overlapping is allowed, its previous
    // playback is stopped first, so a quick series of plays restarts it.
    void play();
    // Stops the latest playback if it still runs.
    void stop();
    // Frees the sample; safe on an empty Sound.
    void unload();
    // Makes later plays loop (true) or play once (false).
    void setLoop(bool loop);
    // Whether a new play may sound beside the previous one.
    void setOverlap(bool overlap);

private:
    FSoundSample* sample_ = nullptr;
    std::optional<int> channel_;
    // Restarting is the choice for sounds that never say: a burst of plays
    // then cannot take every channel.
    bool overlap_ = false;
};

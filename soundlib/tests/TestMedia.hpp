#pragma once

#include <string>

// Sound files the tests make for themselves.

// A mono sine tone of the given length, MP3-encoded at 32000 Hz.
void writeToneMp3(const std::string& path, double seconds, double frequency = 440.0);

// An XM module of one 8-row pattern (about half a second) that holds one
// looping square-wave note from its first row to its last, placed in the
// stereo field at `panning` (0 left, 128 the middle, 255 right).
void writeToneXm(const std::string& path, int panning = 128);

// An XM module of two such patterns, the first of them silent, that
// restarts at its second order: an intro that plays once.
void writeIntroXm(const std::string& path);

// Writes bytes as they stand.
void writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);

#pragma once
// Audio files through libsndfile: read whole files as stereo doubles, write
// stereo results. Errors come back as messages, never as exceptions.
#include <string>
#include <vector>

namespace render {

struct StereoAudio {
    double sampleRate = 44100.0;
    std::vector<double> left, right;
    std::size_t Frames() const { return left.size(); }
};

// Reads a mono or stereo file (mono is copied to both sides). Returns false
// with a message for unreadable files or other channel counts.
bool ReadStereo(const std::string& path, StereoAudio& out, std::string& error);
// Writes 32-bit float WAV, 24-bit FLAC or 32-bit float AIFF by extension
// (.wav, .flac, .aif/.aiff).
bool WriteStereo(const std::string& path, const StereoAudio& audio, std::string& error);

} // namespace render

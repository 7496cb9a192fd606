#include "tools/tarvo-render/AudioFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace render {

//------------------------------------------------------------------------
bool ReadStereo(const std::string& path, StereoAudio& out, std::string& error)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.channels > 2 || info.samplerate <= 0) {
        error = path + " has " + std::to_string(info.channels) + " channels; only mono and stereo files can be rendered";
        sf_close(file);
        return false;
    }
    // Read in pieces until the file ends: the frame count in a damaged
    // header can be far larger than the samples the file holds.
    const auto channels = static_cast<std::size_t>(info.channels);
    const sf_count_t piece = 65536;
    std::vector<double> interleaved(static_cast<std::size_t>(piece) * channels);
    out.sampleRate = info.samplerate;
    out.left.clear();
    out.right.clear();
    for (;;) {
        sf_count_t got = sf_readf_double(file, interleaved.data(), piece);
        if (got < 0) {
            sf_close(file);
            error = "cannot read the samples of " + path;
            return false;
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(got); ++i) {
            out.left.push_back(interleaved[i * channels]);
            out.right.push_back(interleaved[i * channels + channels - 1]);
        }
        if (got < piece)
            break;
    }
    sf_close(file);
    return true;
}

//------------------------------------------------------------------------
bool WriteStereo(const std::string& path, const StereoAudio& audio, std::string& error)
{
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    SF_INFO info{};
    info.channels = 2;
    info.samplerate = static_cast<int>(audio.sampleRate);
    if (ext == ".flac")
        info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    else if (ext == ".aif" || ext == ".aiff")
        info.format = SF_FORMAT_AIFF | SF_FORMAT_FLOAT;
    else if (ext == ".wav")
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    else {
        error = "unknown output type '" + ext + "' (use .wav, .flac or .aiff)";
        return false;
    }
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    // FLAC is integer: keep the written samples inside full scale.
    bool clip = (info.format & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT;
    std::vector<double> interleaved(audio.Frames() * 2);
    for (std::size_t i = 0; i < audio.Frames(); ++i) {
        interleaved[2 * i] = clip ? std::clamp(audio.left[i], -1.0, 1.0) : audio.left[i];
        interleaved[2 * i + 1] = clip ? std::clamp(audio.right[i], -1.0, 1.0) : audio.right[i];
    }
    sf_count_t put = sf_writef_double(file, interleaved.data(), static_cast<sf_count_t>(audio.Frames()));
    int closed = sf_close(file);
    if (put != static_cast<sf_count_t>(audio.Frames()) || closed != 0) {
        error = "writing " + path + " failed";
        return false;
    }
    return true;
}

} // namespace render

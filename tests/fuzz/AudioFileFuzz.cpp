// Fuzzes tarvo-render's audio file reading: the input is written to a file
// and read as a render input. Reading either fails with a message or yields
// equally long left and right channels at a positive rate.
#include "tools/tarvo-render/AudioFile.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/tarvo-fuzz-audio-" + std::to_string(getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    render::StereoAudio audio;
    std::string error;
    bool ok = render::ReadStereo(path, audio, error);
    if (ok != error.empty() || (ok && (audio.left.size() != audio.right.size() || !(audio.sampleRate > 0.0)))) {
        std::fprintf(stderr, "audio file fuzz: read %d, error '%s'\n", ok, error.c_str());
        std::abort();
    }
    return 0;
}

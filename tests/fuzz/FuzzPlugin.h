#pragma once
// What the fuzz targets share: a plug-in instance driven in process with its
// timer stopped (ticks come from the target, so a run can be replayed), a
// stream that hands out its bytes in pieces and may fail part-way, and the
// test tone that proves an instance still renders after a hostile session.
#include "engine/ostrand/Ostrand.h"

#include "pluginterfaces/base/ibstream.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace fuzz {

// An initialised Ostrand whose idle timer does not run on its own.
Ostrand* NewQuietPlugin();
void DestroyPlugin(Ostrand* plug);
// Runs the plug-in's timer callback n times, as the timer would.
void Tick(Ostrand* plug, int n);

// The plug-in's saved state (124 bytes).
std::vector<std::uint8_t> SavedState(Ostrand* plug);

// An IBStream over fixed bytes. Reads hand out at most pieceSize bytes at a
// time (0: all that is asked for); after failAfter bytes have been handed out
// every read fails (negative: never). Writes append.
class PieceStream : public Steinberg::IBStream {
public:
    PieceStream(std::vector<std::uint8_t> bytes, int pieceSize, int failAfter);
    virtual ~PieceStream() = default;

    Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesRead) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesWritten) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode, Steinberg::int64* result) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return ++mRefs; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return --mRefs; }

    // Bytes handed out so far.
    int Delivered() const { return mPos; }
    const std::vector<std::uint8_t>& Bytes() const { return mBytes; }

private:
    std::vector<std::uint8_t> mBytes;
    int mPiece;
    int mFailAfter;
    int mPos = 0;
    std::atomic<Steinberg::uint32> mRefs{1};
};

// Renders a 1 kHz tone at -12 dBFS through the plug-in, set up afresh at
// 44.1 kHz in the default settings, after the given timer ticks, and returns
// the RMS of the output's last 4096 of blocks x 512 frames. NaN when any
// output sample is not finite.
double ToneRms(Ostrand* plug, int ticks, int blocks);

// Sets the plug-in up at 44.1 kHz (keeping its settings), ticks its timer and
// renders blocks of a loud two-tone signal past the latency. False when an
// output sample is not finite or beyond +24 dBFS.
bool RendersSanely(Ostrand* plug, int blocks);

} // namespace fuzz

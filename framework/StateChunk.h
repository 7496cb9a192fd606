#pragma once
// A growable little-endian byte buffer holding plug-in state: parameter
// values, presets and whole banks. Reads are bounds-checked and report
// failure as a negative position, so damaged data can never make a reader
// leave the buffer or move backwards.
#include <cstddef>
#include <cstdint>
#include <memory>

class StateChunk {
public:
    static constexpr std::size_t kGrowthStep = 4096;

    StateChunk() = default;
    StateChunk(const StateChunk& other);
    StateChunk& operator=(const StateChunk& other);
    StateChunk(StateChunk&&) noexcept = default;
    StateChunk& operator=(StateChunk&&) noexcept = default;

    // Appends n bytes; returns the new size.
    int AppendBytes(const void* data, int n);
    // Appends a text as a signed 32-bit byte length followed by its bytes
    // (no terminating NUL); returns the new size.
    int AppendText(const char* text);
    // Appends one plain value in little-endian byte order; returns the new size.
    template <typename T> int Append(const T& value) { return AppendBytes(&value, sizeof(T)); }

    // Copies n bytes from startPos. Returns startPos + n, or -1 (copying
    // nothing) when the bytes are not all there or startPos is negative.
    int ReadAt(void* out, int n, int startPos) const;
    template <typename T> int Read(T* out, int startPos) const { return ReadAt(out, sizeof(T), startPos); }

    // Reads a length-prefixed text into out (capacity outSize, always
    // NUL-terminated, cut to fit). Returns -1 when the length is missing.
    // An empty, negative or overrunning length leaves out unchanged; the
    // position then moves past the 4 length bytes (plus the claimed length
    // when it is positive, so an overrun makes the next read fail).
    int ReadTextAt(char* out, int outSize, int startPos) const;

    // Sets the size, growing (zero-filled) or cutting the contents.
    void SetByteCount(int n);
    int ByteCount() const { return mSize; }
    const std::uint8_t* Data() const { return mBytes.get(); }
    std::uint8_t* Data() { return mBytes.get(); }
    void Clear() { SetByteCount(0); }

private:
    void Reserve(std::size_t n);

    std::unique_ptr<std::uint8_t[]> mBytes;
    int mSize = 0;
    std::size_t mCapacity = 0;
};

#pragma once
// Run-time check for the wider vector instructions some DSP blocks use when
// present. The baseline build targets any x86-64 (SSE2); the AVX2 kernels
// live in files of their own, compiled for AVX2, and are only called after
// this check.

// True when the processor and the operating system support AVX.
bool CpuHasAvx();

// True when the processor and the operating system support AVX2.
bool CpuHasAvx2();

// True when they support AVX2 and FMA (the FFT stages and the rotator's bin
// pass fuse their products).
bool CpuHasAvx2Fma();

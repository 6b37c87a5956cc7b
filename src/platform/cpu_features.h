#pragma once

namespace lumigrave {

// The one switch for every vector kernel (the Overlay blend, the watermark sampler).
//
// Each kernel has a scalar twin that gives the same result; the vector one runs only
// where the processor has AVX2 and vector kernels are allowed. They are allowed unless
// the environment variable LUMIGRAVE_NO_SIMD is set to anything but 0 when the process
// first asks, or until setVectorKernelsAllowed(false): tests and benchmarks run both
// paths in one process that way.
namespace cpu {

// Whether the processor has AVX2 (whatever the switch says).
bool hasAvx2();

// Whether the kernels may take their AVX2 paths now: the processor has it and the
// switch is on. Safe to ask from any thread.
bool useAvx2();

// Turns the vector paths on or off for the whole process. Off takes effect for rows
// begun afterwards; call it while nothing renders.
void setVectorKernelsAllowed(bool allowed);
bool vectorKernelsAllowed();

}  // namespace cpu

}  // namespace lumigrave

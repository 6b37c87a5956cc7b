#pragma once

#include <gtest/gtest.h>

#include "platform/cpu_features.h"

namespace lumigrave::test {

// Sets the vector-kernel switch while it lives and puts it back as it was.
class VectorKernels {
  public:
    explicit VectorKernels(bool allowed) : previous_(cpu::vectorKernelsAllowed()) {
        cpu::setVectorKernelsAllowed(allowed);
    }
    ~VectorKernels() { cpu::setVectorKernelsAllowed(previous_); }
    VectorKernels(const VectorKernels&) = delete;
    VectorKernels& operator=(const VectorKernels&) = delete;

  private:
    bool previous_;
};

}  // namespace lumigrave::test

// For tests that hold a vector kernel to its scalar twin: without AVX2 both runs would be
// scalar and prove nothing, so the test says so and stops.
#define LUMIGRAVE_SKIP_WITHOUT_AVX2()                                                   \
    do {                                                                                \
        if (!::lumigrave::cpu::hasAvx2()) {                                             \
            GTEST_SKIP() << "this processor has no AVX2: there is no vector kernel to " \
                            "hold to the scalar one";                                   \
        }                                                                               \
    } while (false)

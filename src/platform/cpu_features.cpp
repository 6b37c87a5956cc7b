#include "platform/cpu_features.h"

#include <QByteArray>
#include <atomic>

namespace lumigrave::cpu {

namespace {

bool allowedByEnvironment() {
    const QByteArray value = qgetenv("LUMIGRAVE_NO_SIMD");
    return value.isEmpty() || value == "0";
}

std::atomic<bool>& allowed() {
    static std::atomic<bool> flag{allowedByEnvironment()};
    return flag;
}

}  // namespace

bool hasAvx2() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

bool useAvx2() {
    return hasAvx2() && allowed().load(std::memory_order_relaxed);
}

void setVectorKernelsAllowed(bool on) {
    allowed().store(on, std::memory_order_relaxed);
}

bool vectorKernelsAllowed() {
    return allowed().load(std::memory_order_relaxed);
}

}  // namespace lumigrave::cpu

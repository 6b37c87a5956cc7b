#include "platform/screen.h"

#include <atomic>

namespace lumigrave {

namespace {
std::atomic<float> scale{1.0f};
}

float Screen::mainScreenScale() {
    return scale.load(std::memory_order_relaxed);
}

void Screen::setMainScreenScale(float value) {
    scale.store(value >= 1 ? value : 1.0f, std::memory_order_relaxed);
}

}  // namespace lumigrave

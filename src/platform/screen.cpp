#include "platform/screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtGlobal>
#include <algorithm>
#include <atomic>

namespace lumigrave {

namespace {
// 0 until set: the primary screen's ratio stands in, so what is rendered before the
// main window first shows (the launch's watermark) already has the display's scale.
std::atomic<float> scale{0.0f};
// The window opens at 400 × 700 points.
std::atomic<float> boundsWidth{400};
std::atomic<float> boundsHeight{700};
constexpr float kPadWidth = 768;

QString& versionForTesting() {
    static QString version;
    return version;
}
}  // namespace

float Screen::mainScreenScale() {
    const float set = scale.load(std::memory_order_relaxed);
    if (set > 0) {
        return set;
    }
    const QScreen* primary = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                 ? QGuiApplication::primaryScreen()
                                 : nullptr;
    return primary != nullptr ? std::max(1.0f, float(primary->devicePixelRatio())) : 1.0f;
}

void Screen::setMainScreenScale(float value) {
    scale.store(value == 0 ? 0.0f : std::max(1.0f, value), std::memory_order_relaxed);
}

Size Screen::bounds() {
    return Size{boundsWidth.load(), boundsHeight.load()};
}

void Screen::setBounds(Size bounds) {
    boundsWidth = bounds.width;
    boundsHeight = bounds.height;
}

InterfaceIdiom Device::userInterfaceIdiom() {
    return Screen::bounds().width >= kPadWidth ? InterfaceIdiom::Pad : InterfaceIdiom::Phone;
}

QString Device::systemVersion() {
    if (!versionForTesting().isNull()) {
        return versionForTesting();
    }
    // What depends on the version is how the controls behave, and that is the toolkit's
    // doing; a distribution's own number (none at all on rolling releases) says nothing
    // about it and, read as "0", would switch the controls to their oldest behaviour.
    return QString::fromLatin1(qVersion());
}

void Device::setSystemVersionForTesting(const QString& version) {
    versionForTesting() = version;
}

}  // namespace lumigrave

#include "support/log_capture.h"

namespace lumigrave::test {

namespace {
LogCapture* current = nullptr;
}

LogCapture::LogCapture() : previous_(qInstallMessageHandler(&LogCapture::handler)) {
    current = this;
}

LogCapture::~LogCapture() {
    current = nullptr;
    qInstallMessageHandler(previous_);
}

void LogCapture::handler(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (current) {
        current->lines_.append(message);
    }
}

}  // namespace lumigrave::test

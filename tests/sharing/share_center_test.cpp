#include "sharing/share_center.h"

#include <gtest/gtest.h>

#include "support/log_capture.h"

namespace lumigrave::sharing {
namespace {

TEST(FacebookReturnTest, TheTokenInALoginsReturnIsNeverLogged) {
    test::LogCapture log;
    EXPECT_FALSE(facebookHandleOpenURL(
        QUrl("fb417820365194623://authorize#access_token=SECRETTOKEN&expires_in=3600")));
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("SECRETTOKEN")) << line.toStdString();
    }
}

}  // namespace
}  // namespace lumigrave::sharing

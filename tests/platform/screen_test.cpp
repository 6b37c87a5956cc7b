#include "platform/screen.h"

#include <gtest/gtest.h>

#include <QVersionNumber>

namespace lumigrave {
namespace {

TEST(Screen, TheIdiomFollowsTheWindowsWidth) {
    const Size saved = Screen::bounds();
    Screen::setBounds(Size{320, 480});
    EXPECT_EQ(Device::userInterfaceIdiom(), InterfaceIdiom::Phone);
    EXPECT_EQ(Screen::applicationFrame(), (Rect{Point{}, Size{320, 480}}));
    Screen::setBounds(Size{767, 1024});
    EXPECT_EQ(Device::userInterfaceIdiom(), InterfaceIdiom::Phone);
    Screen::setBounds(Size{768, 1024});
    EXPECT_EQ(Device::userInterfaceIdiom(), InterfaceIdiom::Pad);
    Screen::setBounds(saved);
    EXPECT_TRUE(Device::isMultitaskingSupported());
}

TEST(Device, TheSystemVersionIsTheToolkitsUnlessATestSetsAnother) {
    const QString real = Device::systemVersion();
    EXPECT_EQ(real, QString::fromLatin1(qVersion()));
    EXPECT_GE(QVersionNumber::fromString(real), QVersionNumber(6));

    Device::setSystemVersionForTesting(QStringLiteral("4.3"));
    EXPECT_EQ(Device::systemVersion(), "4.3");
    // Whatever a system reports, however odd, is handed on as it is.
    Device::setSystemVersionForTesting(QStringLiteral(""));
    EXPECT_EQ(Device::systemVersion(), "");
    EXPECT_FALSE(Device::systemVersion().isNull());
    Device::setSystemVersionForTesting(QString());
    EXPECT_EQ(Device::systemVersion(), real);
}

}  // namespace
}  // namespace lumigrave

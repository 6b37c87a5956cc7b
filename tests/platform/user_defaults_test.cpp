#include "platform/user_defaults.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include "support/temp_home.h"

namespace lumigrave {
namespace {

TEST(UserDefaults, KeysNeverSetReadAsZeroFalseOrEmpty) {
    test::TempHome home;
    UserDefaults defaults;
    EXPECT_EQ(defaults.integerForKey("MaxOutputPix"), 0);
    EXPECT_FALSE(defaults.boolForKey("Launched"));
    EXPECT_TRUE(defaults.stringForKey("Anything").isEmpty());
}

TEST(UserDefaults, SynchronizedValuesSurviveIntoTheNextStart) {
    test::TempHome home;
    {
        UserDefaults defaults;
        defaults.setBool("Launched", true);
        defaults.setInteger("RequestRateCountdown", 3);
        defaults.setInteger("LastUsedEmbosser", -2);
        defaults.setString("Name", QStringLiteral("Fjord \u00A9"));
        EXPECT_TRUE(defaults.synchronize());
        EXPECT_TRUE(defaults.filePath().startsWith(home.path()));
        EXPECT_TRUE(QFileInfo::exists(defaults.filePath()));
    }
    UserDefaults again;
    EXPECT_TRUE(again.boolForKey("Launched"));
    EXPECT_EQ(again.integerForKey("RequestRateCountdown"), 3);
    EXPECT_EQ(again.integerForKey("LastUsedEmbosser"), -2);
    EXPECT_EQ(again.stringForKey("Name"), QStringLiteral("Fjord \u00A9"));
    again.removeObjectForKey("RequestRateCountdown");
    EXPECT_EQ(again.integerForKey("RequestRateCountdown"), 0);
}

TEST(UserDefaults, AValueThatIsNotANumberReadsAsZero) {
    test::TempHome home;
    UserDefaults defaults;
    defaults.setString("MaxOutputPix", QStringLiteral("large"));
    EXPECT_EQ(defaults.integerForKey("MaxOutputPix"), 0);
}

TEST(UserDefaults, AStoreThatCannotBeWrittenSaysSo) {
    test::TempHome home;
    UserDefaults defaults(home.filePath("missing/dir/that/is/a/file"));
    QFile blocker(home.filePath("missing"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    defaults.setInteger("MaxOutputPix", 800);
    EXPECT_FALSE(defaults.synchronize());
}

}  // namespace
}  // namespace lumigrave

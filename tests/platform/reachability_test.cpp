#include "platform/reachability.h"

#include <gtest/gtest.h>

#include "support/log_capture.h"

namespace lumigrave {
namespace {

class ReachabilityTest : public testing::Test {
  protected:
    void SetUp() override {
        hadVariable_ = qEnvironmentVariableIsSet("LUMIGRAVE_FORCE_NETWORK");
        variable_ = qgetenv("LUMIGRAVE_FORCE_NETWORK");
        qunsetenv("LUMIGRAVE_FORCE_NETWORK");
        Reachability::setForcedConnected(std::nullopt);
        systemAnswer_ = Reachability::connected();
    }
    void TearDown() override {
        Reachability::setForcedConnected(std::nullopt);
        if (hadVariable_) {
            qputenv("LUMIGRAVE_FORCE_NETWORK", variable_);
        } else {
            qunsetenv("LUMIGRAVE_FORCE_NETWORK");
        }
    }

    bool hadVariable_ = false;
    QByteArray variable_;
    bool systemAnswer_ = true;
};

// The test's own setting comes first, then the environment's, then the system's.
TEST_F(ReachabilityTest, AForcedAnswerWinsOverTheEnvironmentAndTheSystem) {
    for (const bool forced : {false, true}) {
        Reachability::setForcedConnected(forced);
        EXPECT_EQ(Reachability::connected(), forced);
        qputenv("LUMIGRAVE_FORCE_NETWORK", forced ? "offline" : "online");
        EXPECT_EQ(Reachability::connected(), forced);
        qunsetenv("LUMIGRAVE_FORCE_NETWORK");
    }
    Reachability::setForcedConnected(std::nullopt);
    EXPECT_EQ(Reachability::connected(), systemAnswer_);
}

TEST_F(ReachabilityTest, TheEnvironmentForcesTheAnswerForTheProcess) {
    const std::pair<const char*, bool> cases[] = {
        {"offline", false}, {"online", true}, {" Offline\n", false}, {"ONLINE", true}};
    for (const auto& [value, connected] : cases) {
        qputenv("LUMIGRAVE_FORCE_NETWORK", value);
        EXPECT_EQ(Reachability::connected(), connected) << value;
    }
}

// A value the variable does not know is ignored, with one log line that names it, however
// often it is asked.
TEST_F(ReachabilityTest, AnUnknownEnvironmentValueIsIgnoredAndLogged) {
    test::LogCapture log;
    qputenv("LUMIGRAVE_FORCE_NETWORK", "maybe");
    EXPECT_EQ(Reachability::connected(), systemAnswer_);
    EXPECT_EQ(Reachability::connected(), systemAnswer_);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].contains("maybe")) << log.lines()[0].toStdString();
    qputenv("LUMIGRAVE_FORCE_NETWORK", "");
    EXPECT_EQ(Reachability::connected(), systemAnswer_);
    EXPECT_EQ(log.lines().size(), 1);
}

}  // namespace
}  // namespace lumigrave

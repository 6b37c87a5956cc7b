#include "platform/notification_center.h"

#include <gtest/gtest.h>

#include <QRectF>

namespace lumigrave {
namespace {

TEST(NotificationCenter, DeliversByNameInRegistrationOrder) {
    NotificationCenter center;
    std::vector<QString> seen;
    int a = 0, b = 0;
    center.addObserver(&a, "HideActivityViewNotification", [&] { seen.push_back("a"); });
    center.addObserver(&b, "HideActivityViewNotification", [&] { seen.push_back("b"); });
    center.addObserver(&b, "Other", [&] { seen.push_back("other"); });
    center.postNotification("HideActivityViewNotification");
    EXPECT_EQ(seen, (std::vector<QString>{"a", "b"}));

    center.removeObserver(&a);
    seen.clear();
    center.postNotification("HideActivityViewNotification");
    EXPECT_EQ(seen, (std::vector<QString>{"b"}));
    center.removeObserver(&b, "Other");
    EXPECT_EQ(center.observerCount("Other"), 0);
    EXPECT_EQ(center.observerCount("HideActivityViewNotification"), 1);
    center.postNotification("Nobody");
}

TEST(NotificationCenter, HandsObserversTheSenderAndTheValuesAndStillCallsThoseWithoutArguments) {
    NotificationCenter center;
    int keyboard = 0, first = 0, plain = 0, last = 0;
    std::vector<QString> order;
    std::vector<Notification> received;
    center.addObserver(&first, "KeyboardDidShow", [&](const Notification& n) {
        order.push_back("first");
        received.push_back(n);
    });
    center.addObserver(&plain, "KeyboardDidShow", [&] { order.push_back("plain"); });
    center.addObserver(&last, "KeyboardDidShow", [&](const Notification& n) {
        order.push_back("last");
        received.push_back(n);
    });

    const QVariantMap values{{"KeyboardFrameEnd", QRectF(0, 480, 320, 0)}, {"Animated", false}};
    center.postNotification("KeyboardDidShow", &keyboard, values);
    EXPECT_EQ(order, (std::vector<QString>{"first", "plain", "last"}));
    ASSERT_EQ(received.size(), 2u);
    for (const Notification& n : received) {
        EXPECT_EQ(n.name, "KeyboardDidShow");
        EXPECT_EQ(n.sender, &keyboard);
        EXPECT_EQ(n.userInfo, values);
        EXPECT_EQ(n.userInfo.value("KeyboardFrameEnd").toRectF(), QRectF(0, 480, 320, 0));
    }

    // Posted by name alone: no sender, no values.
    received.clear();
    order.clear();
    center.postNotification("KeyboardDidShow");
    EXPECT_EQ(order, (std::vector<QString>{"first", "plain", "last"}));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].sender, nullptr);
    EXPECT_TRUE(received[0].userInfo.isEmpty());
}

// While a notification is delivered, observers of either form may remove themselves or
// others and add new ones: those registered at the post are called unless removed first,
// the new ones wait for the next post.
TEST(NotificationCenter, ObserversMayRemoveThemselvesAndOthersWhileCalled) {
    NotificationCenter center;
    int a = 0, b = 0, calls = 0;
    center.addObserver(&a, "N", [&] {
        ++calls;
        center.removeObserver(&a);
        center.removeObserver(&b);
        center.addObserver(&a, "N", [&] { calls += 100; });
    });
    center.addObserver(&b, "N", [&] { calls += 10; });
    center.postNotification("N");
    EXPECT_EQ(calls, 1);  // b was removed before its turn; the new one waits for the next post
    center.postNotification("N");
    EXPECT_EQ(calls, 101);
}

TEST(NotificationCenter, ObserversWithValuesAddAndRemoveWhileCalledAsThePlainOnesDo) {
    NotificationCenter center;
    int a = 0, b = 0, c = 0;
    std::vector<QString> seen;
    center.addObserver(&a, "N", [&](const Notification& n) {
        seen.push_back("a " + n.userInfo.value("k").toString());
        center.removeObserver(&a);
        center.removeObserver(&c);
        center.addObserver(&a, "N", [&](const Notification& later) {
            seen.push_back("a again " + later.userInfo.value("k").toString());
        });
    });
    center.addObserver(&b, "N", [&] {
        seen.push_back("b");
        center.removeObserver(&b);
    });
    center.addObserver(&c, "N", [&](const Notification&) { seen.push_back("c"); });
    center.postNotification("N", nullptr, {{"k", "1"}});
    EXPECT_EQ(seen, (std::vector<QString>{"a 1", "b"}));
    seen.clear();
    center.postNotification("N", &b, {{"k", "2"}});
    EXPECT_EQ(seen, (std::vector<QString>{"a again 2"}));
    EXPECT_EQ(center.observerCount("N"), 1);
}

}  // namespace
}  // namespace lumigrave

#include "app/notification_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hm {
namespace {

cNotificationRequest Request(const std::string& key, const std::string& title,
                             const std::string& description) {
    cNotificationRequest request;
    request.Key = key;
    request.Title = title;
    request.Description = description;
    return request;
}

TEST(NotificationQueueRules, ARequestReplacesTheOneWaitingUnderItsKeyAndQueuesLast) {
    const cNotificationRequest done = Request("www", "Hushmark", "Hushmark Clean is done!");
    EXPECT_EQ(QueueKey(done, false), "Hushmark");
    EXPECT_EQ(QueueKey(done, true), "Hushmark Clean is done!");

    NotificationQueue queue;
    EXPECT_FALSE(queue.TakeFirst().has_value());
    queue.Add("one", Request("a", "T", "one"));
    queue.Add("two", Request("b", "T", "two"));
    queue.Add("one", Request("c", "T", "one"));
    queue.Add("One", Request("d", "T", "One"));  // keys compare exactly
    queue.Add("", Request("e", "T", ""));
    queue.Remove("missing");
    queue.Remove("");

    std::vector<std::string> taken;
    while (auto request = queue.TakeFirst()) {
        taken.push_back(request->Key);
    }
    EXPECT_EQ(taken, (std::vector<std::string>{"b", "c", "d"}));
}

TEST(NotificationQueueRules, OnlyAReplaceableRequestWithTheSameTitleUpdatesThePopUpOnScreen) {
    const cNotificationRequest shown = Request("www", "Hushmark", "old text");
    const cNotificationRequest sameTitle = Request("www", "Hushmark", "new text");
    EXPECT_TRUE(UpdatesOnScreen(&shown, sameTitle, false));
    EXPECT_FALSE(UpdatesOnScreen(&shown, sameTitle, true));
    EXPECT_FALSE(UpdatesOnScreen(&shown, Request("www", "hushmark", "new text"), false));
    EXPECT_FALSE(UpdatesOnScreen(nullptr, sameTitle, false));
}

TEST(NotificationQueueRules, AClickIsAnsweredWithThanksAndForMostKeysTheTitle) {
    EXPECT_EQ(ClickedMessageText("ALERT", "Hushmark"), "Tnank you for using our product");
    EXPECT_EQ(ClickedMessageText("MESSAGE", "Hushmark"), "Tnank you for using our product");
    for (const char* key : {"www", "", "alert", "ALERT "}) {
        EXPECT_EQ(ClickedMessageText(key, "Hushmark"), "Tnank you for using our product Hushmark")
            << key;
    }
}

// Work area of a 1280 x 800 screen with a 40-pixel taskbar at the bottom.
constexpr PopupRect kWorkArea = {0, 0, 1280, 760};

TEST(NotificationMotionRules, StartsAtTheBottomRightOfTheWorkAreaAtAnyDpi) {
    // dpi, 100 twips in pixels
    for (const auto& [dpi, inset] : {std::pair{96, 7}, std::pair{144, 10}, std::pair{192, 13}}) {
        PopupMotion motion(dpi, kWorkArea, 80);
        motion.SetWidth(300);
        motion.Start();
        EXPECT_EQ(motion.Bounds(), (PopupRect{1280 - inset - 300, 759, 300, 1})) << dpi;
        EXPECT_EQ(motion.phase(), PopupMotion::Phase::Growing);
    }
    // Cut to the work area, with the inset on both sides.
    PopupMotion narrow(96, {100, 0, 500, 700}, 60);
    narrow.SetWidth(5000);
    narrow.Start();
    EXPECT_EQ(narrow.Bounds().left, 107);
    EXPECT_EQ(narrow.Bounds().right(), 593);
}

TEST(NotificationMotionRules, GrowsSmoothlyToTheFullHeightWaitsThenSinksAndCloses) {
    for (int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        PopupMotion motion(dpi, kWorkArea, 81);
        motion.SetWidth(300);
        motion.Start();

        // 20 twips a tick: at 96 DPI 4 pixels in 3 ticks, as 1, 1, 2 and never 0; at 144 DPI
        // 2 pixels each tick. The bottom edge stays a step below the work area.
        std::vector<int> heights = {motion.Bounds().height};
        while (motion.phase() == PopupMotion::Phase::Growing && heights.size() < 1000) {
            ASSERT_EQ(motion.intervalMs(), 15u);
            ASSERT_TRUE(motion.Tick());
            heights.push_back(motion.Bounds().height);
            const std::size_t last = heights.size() - 1;
            if (motion.phase() == PopupMotion::Phase::Growing) {
                EXPECT_EQ(motion.Bounds().bottom(), dpi == 96 ? 761 : 762);
                const int grown = heights[last] - heights[last - 1];
                EXPECT_TRUE(dpi == 96 ? (grown == 1 || grown == 2) : grown == 2) << last;
                if (dpi == 96 && last >= 4) {
                    EXPECT_EQ(heights[last] - heights[last - 3], 4) << last;
                }
            }
        }
        EXPECT_EQ(heights.back(), 81);
        EXPECT_EQ(motion.intervalMs(), 5000u);

        // Sinking: a step a tick, clear of the taskbar, closing with less than a step left.
        int height = 81;
        for (int ticks = 0; motion.Tick() && ticks < 1000; ++ticks) {
            EXPECT_EQ(motion.intervalMs(), 15u);
            EXPECT_LE(motion.Bounds().bottom(), 760);
            EXPECT_LT(motion.Bounds().height, height);
            height = motion.Bounds().height;
        }
        // Its last position kept at least one step and less than two (give or take a pixel of
        // rounding at an edge).
        EXPECT_GE(height, TwipsToPixels(20, dpi));
        EXPECT_LT(height, 2 * TwipsToPixels(20, dpi) + 1);
    }
}

TEST(NotificationMotionRules, RegrowingContinuesFromWhereTheWindowStands) {
    PopupMotion motion(96, kWorkArea, 60);
    motion.SetWidth(200);
    motion.Start();
    while (motion.phase() == PopupMotion::Phase::Growing) {
        motion.Tick();
    }
    for (int tick = 0; tick < 11; ++tick) {
        ASSERT_TRUE(motion.Tick());
    }
    const int sunk = motion.Bounds().height;
    ASSERT_LT(sunk, 60);

    motion.Regrow();
    int ticks = 0;
    while (motion.phase() == PopupMotion::Phase::Growing && ++ticks < 1000) {
        motion.Tick();
    }
    EXPECT_EQ(motion.Bounds().height, 60);
    EXPECT_LT(ticks, 20);  // from the start it takes 44

    // Regrowing while it waits keeps the long interval: the next tick ends the growth at once
    // and the wait begins again.
    motion.Regrow();
    EXPECT_EQ(motion.intervalMs(), 5000u);
    ASSERT_TRUE(motion.Tick());
    EXPECT_EQ(motion.phase(), PopupMotion::Phase::Shrinking);
    EXPECT_EQ(motion.intervalMs(), 5000u);
}

}  // namespace
}  // namespace hm

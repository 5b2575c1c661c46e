// The pop-up notifications in-process: time is driven by sending the animation timer's message,
// clicks go in as the mouse messages the label would get.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/gui_controls.h"
#include "app/gui_notifications.h"
#include "platform/text.h"

namespace hm {
namespace {

constexpr const char* kDone =
    "Hushmark Clean is done! Cleaned Registry Keys: 12 Released HD Space:3.50MB";

struct Sound {
    std::wstring file;
    HMODULE module;
    DWORD flags;
};

int Height(const RECT& box) {
    return box.bottom - box.top;
}

class NotificationTest : public ::testing::Test {
protected:
    NotificationTest() {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        // Something else holds the focus, as when a background pass ends.
        focus = CreateWindowExW(0, L"STATIC", L"focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(focus);
        SetActiveWindow(focus);
    }
    ~NotificationTest() override { DestroyWindow(focus); }

    void Queue(const std::string& key, const std::string& title, const std::string& description,
               bool keepSeparate, bool clickEnabled = true, const std::string& sound = "") {
        system.Queue(key, title, description, keepSeparate, clickEnabled, nullptr, sound);
    }
    frmNotification& Shown() {
        EXPECT_TRUE(system.PopupShown());
        return *system.Popup();
    }
    RECT Bounds() {
        RECT box = {};
        GetWindowRect(Shown().hwnd(), &box);
        return box;
    }
    std::string Text(int id) { return GetText(Shown().Control(id)); }
    void Tick() { SendMessageW(Shown().hwnd(), WM_TIMER, frmNotification::kTmrPopupController, 0); }
    void GrowToFullHeight() {
        for (int tick = 0; tick < 1000 && Shown().Phase() == PopupMotion::Phase::Growing; ++tick) {
            Tick();
        }
        ASSERT_EQ(Shown().TimerInterval(), 5000u);
    }
    // Ticks the pop-up on screen until it has gone; false when it never goes.
    bool RunToTheEnd() {
        HWND window = Shown().hwnd();
        for (int tick = 0; tick < 2000 && IsWindow(window); ++tick) {
            SendMessageW(window, WM_TIMER, frmNotification::kTmrPopupController, 0);
        }
        return !IsWindow(window) && !system.PopupShown();
    }
    void ClickOn(int id) {
        HWND label = Shown().Control(id);
        SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }

    RECT work = {};
    HWND focus = nullptr;
    std::vector<std::string> messages;
    std::function<void()> onMessage;
    std::vector<Sound> sounds;
    NotificationSystem system{[this](const std::string& text) {
                                  messages.push_back(text);
                                  if (onMessage) {
                                      onMessage();
                                  }
                              },
                              GetModuleHandleW(nullptr),
                              [this](const wchar_t* file, HMODULE module, DWORD flags) {
                                  sounds.push_back({file, module, flags});
                                  return TRUE;
                              }};
};

TEST_F(NotificationTest, SlidesUpAtTheBottomRightWithoutTakingTheFocusWaitsAndSlidesAway) {
    Queue("www", "Hushmark", kDone, true, true, "C:\\Hushmark\\Sounds\\Message.wav");
    EXPECT_FALSE(system.PopupShown());  // only the pump shows it
    system.Pump();
    frmNotification& popup = Shown();
    HWND window = popup.hwnd();
    ASSERT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetActiveWindow(), focus);
    EXPECT_EQ(GetForegroundWindow(), focus);
    EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].file, L"C:\\Hushmark\\Sounds\\Message.wav");
    EXPECT_EQ(sounds[0].module, nullptr);
    EXPECT_EQ(sounds[0].flags, static_cast<DWORD>(SND_ASYNC | SND_NODEFAULT | SND_FILENAME));

    // 100 twips in from the right edge, the start step tall, standing on the work area.
    const double pixelsPerTwip = popup.Dpi() / 1440.0;
    const RECT start = Bounds();
    EXPECT_NEAR(work.right - start.right, 100 * pixelsPerTwip, 1);
    EXPECT_EQ(start.bottom, work.bottom);
    EXPECT_LE(Height(start), 2);

    // The real timer moves it (far too few ticks in this time to reach the full height).
    EXPECT_EQ(popup.TimerInterval(), 15u);
    for (DWORD until = GetTickCount() + 300; GetTickCount() < until; Sleep(5)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
    int height = Height(Bounds());
    EXPECT_GT(height, Height(start));

    // Growing: the bottom edge stays a step below the work area, the top edge rises.
    while (popup.Phase() == PopupMotion::Phase::Growing) {
        Tick();
        const RECT now = Bounds();
        ASSERT_GE(Height(now), height);
        ASSERT_NEAR(now.bottom - work.bottom, 20 * pixelsPerTwip, 1);
        height = Height(now);
    }
    EXPECT_EQ(height, popup.FullHeight());
    EXPECT_EQ(popup.TimerInterval(), 5000u);

    // Sinking after the display time, then gone; the focus never moved.
    Tick();
    EXPECT_EQ(popup.TimerInterval(), 15u);
    EXPECT_LT(Height(Bounds()), height);
    EXPECT_LE(Bounds().bottom, work.bottom);
    EXPECT_TRUE(RunToTheEnd());
    EXPECT_EQ(GetActiveWindow(), focus);
    EXPECT_EQ(sounds.size(), 1u);
}

TEST_F(NotificationTest, SeparateRequestsFollowOneAnotherAndTheSameDescriptionReplacesTheWaiting) {
    Queue("first", "Hushmark", "Pass one", true, true, "");
    system.Pump();
    EXPECT_TRUE(sounds.empty());  // an empty path plays nothing at all
    Queue("second", "Hushmark", "Pass two", true);
    Queue("third", "Hushmark", "Pass three", true);
    Queue("fourth", "Hushmark", "Pass two", true);
    ASSERT_EQ(system.Waiting().size(), 2u);
    EXPECT_EQ(system.Waiting().KeyAt(0), "Pass three");
    EXPECT_EQ(system.Waiting().At(1).Key, "fourth");

    std::vector<std::string> shown;
    for (int pump = 0; pump < 4; ++pump) {
        system.Pump();
        system.Pump();  // one at a time, however often the pump ticks
        if (!system.PopupShown()) {
            break;
        }
        shown.push_back(Shown().NotificationRequest().Key + ": " +
                        Text(frmNotification::kLblDescription));
        ASSERT_TRUE(RunToTheEnd());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"first: Pass one", "third: Pass three",
                                               "fourth: Pass two"}));
}

TEST_F(NotificationTest, TheSameTitleNotKeptSeparateUpdatesThePopUpOnScreenAndRegrows) {
    Queue("a", "Hushmark", "Short", false, true, "C:\\a.wav");
    system.Pump();
    HWND window = Shown().hwnd();
    GrowToFullHeight();
    for (int tick = 0; tick < 12; ++tick) {
        Tick();
    }
    const RECT sunk = Bounds();
    ASSERT_LT(Height(sunk), Shown().FullHeight());

    Queue("b", "Hushmark", "A much longer description than the one before it", false);
    EXPECT_TRUE(system.Waiting().empty());
    EXPECT_EQ(Shown().hwnd(), window);
    EXPECT_EQ(Text(frmNotification::kLblDescription),
              "A much longer description than the one before it");
    EXPECT_EQ(Shown().Phase(), PopupMotion::Phase::Growing);
    const RECT updated = Bounds();
    EXPECT_EQ(updated.top, sunk.top);  // not back at the start
    EXPECT_EQ(updated.bottom, sunk.bottom);
    EXPECT_EQ(updated.right, sunk.right);
    EXPECT_GT(updated.right - updated.left, sunk.right - sunk.left);
    Tick();
    Tick();
    EXPECT_GT(Height(Bounds()), Height(sunk));
    EXPECT_EQ(sounds.size(), 1u);

    // Kept separate, or under another title: it waits, and the same title replaces the waiting.
    Queue("c", "Hushmark", "Separate", true);
    Queue("d", "Other", "x", false);
    Queue("e", "Other", "y", false);
    ASSERT_EQ(system.Waiting().size(), 2u);
    EXPECT_EQ(system.Waiting().KeyAt(0), "Separate");
    EXPECT_EQ(system.Waiting().At(1).Key, "e");
}

TEST_F(NotificationTest, AClickOnTheDescriptionIsAnsweredOnlyWhenTheRequestAllowsIt) {
    Queue("www", "Hushmark", "No clicks", true, false);
    system.Pump();
    ClickOn(frmNotification::kLblDescription);
    EXPECT_TRUE(messages.empty());
    ASSERT_TRUE(RunToTheEnd());

    Queue("www", "Hushmark", "Clicks", true, true);
    Queue("ALERT", "Hushmark", "Alert", true, true);
    system.Pump();
    ClickOn(frmNotification::kLblTitle);
    EXPECT_TRUE(messages.empty());
    // Answering the click closes this pop-up and pumps the next one in while the answer is up.
    onMessage = [&] {
        SendMessageW(Shown().hwnd(), WM_CLOSE, 0, 0);
        system.Pump();
    };
    ClickOn(frmNotification::kLblDescription);
    onMessage = nullptr;
    ClickOn(frmNotification::kLblDescription);
    EXPECT_EQ(messages, (std::vector<std::string>{"Tnank you for using our product Hushmark",
                                                  "Tnank you for using our product"}));
    EXPECT_EQ(GetActiveWindow(), focus);
}

TEST_F(NotificationTest, TheTextsShowUnclippedInAWindowFittedToThem) {
    const auto checkLabels = [&] {
        RECT client = {};
        GetClientRect(Shown().hwnd(), &client);
        const auto box = [&](int id) {
            RECT rect = {};
            GetWindowRect(Shown().Control(id), &rect);
            MapWindowPoints(nullptr, Shown().hwnd(), reinterpret_cast<POINT*>(&rect), 2);
            return rect;
        };
        const RECT icon = box(frmNotification::kImgNotificationIcon);
        LONG textEnd = 0;
        for (int id : {frmNotification::kLblTitle, frmNotification::kLblDescription}) {
            HWND label = Shown().Control(id);
            HDC dc = GetDC(label);
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
            const std::wstring text = Widen(GetText(label));
            SIZE size = {};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            ReleaseDC(label, dc);
            const RECT rect = box(id);
            EXPECT_GE(rect.right - rect.left, size.cx) << id;
            EXPECT_GE(Height(rect), size.cy) << id;
            EXPECT_TRUE(rect.left > 0 && rect.top > 0 && rect.right < client.right &&
                        rect.bottom < client.bottom)
                << id;
            RECT overlap = {};
            EXPECT_FALSE(IntersectRect(&overlap, &rect, &icon)) << id;
            textEnd = std::max(textEnd, rect.left + size.cx);
        }
        // Fitted: the longer text's end plus a small margin is the window's width.
        EXPECT_LE(client.right - textEnd, 20 * Shown().Dpi() / 96);
    };
    Queue("www", "A title much longer than its text", "Short", true);
    system.Pump();
    GrowToFullHeight();
    checkLabels();
    ASSERT_TRUE(RunToTheEnd());
    Queue("www", "Hushmark", kDone, false);
    system.Pump();
    GrowToFullHeight();
    checkLabels();

    // The picture: the window's own until a request brings one, which then stays.
    const HICON own = Shown().ShownIcon();
    EXPECT_NE(own, nullptr);
    system.Queue("www", "Hushmark", kDone, false, true, LoadIconW(nullptr, IDI_WARNING), "");
    const HICON given = Shown().ShownIcon();
    EXPECT_NE(given, nullptr);
    EXPECT_NE(given, own);
    Queue("www", "Hushmark", "No picture of its own", false);
    EXPECT_EQ(Shown().ShownIcon(), given);
}

}  // namespace
}  // namespace hm

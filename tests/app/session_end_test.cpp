// "Windows Shutdown": the end-of-session messages are sent to a real window in this process, as
// Windows sends them, and the answers, the reason shown and the passes run are checked.
#include "app/gui_session_end.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "config/inifun.h"
#include "engine/clean_run.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::TempFolder;

SessionEnd* current = nullptr;

LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (current != nullptr && current->HandleMessage(window, message, wParam, lParam, result)) {
        return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class SessionEndTest : public ::testing::Test {
protected:
    SessionEndTest() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = SessionWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"HushmarkSessionEndTest";
        RegisterClassW(&windowClass);
        window = CreateWindowW(L"HushmarkSessionEndTest", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~SessionEndTest() override {
        current = nullptr;
        DestroyWindow(window);
    }

    // A session end with the hooks below; the reason calls are recorded, not made.
    void Use(SessionEnd::Hooks hooks) {
        hooks.showReason = [this](HWND shownFor, const std::wstring& reason) {
            events.push_back("show " + std::string(reason.begin(), reason.end()));
            EXPECT_EQ(shownFor, window);
            return true;
        };
        hooks.dropReason = [this](HWND) {
            events.push_back("drop");
            return true;
        };
        session = std::make_unique<SessionEnd>(std::move(hooks));
        current = session.get();
    }
    LRESULT Query(LPARAM flags = 0) { return SendMessageW(window, WM_QUERYENDSESSION, 0, flags); }
    void End(bool ending) { SendMessageW(window, WM_ENDSESSION, ending ? TRUE : FALSE, 0); }

    HWND window = nullptr;
    std::unique_ptr<SessionEnd> session;
    std::vector<std::string> events;
    bool on = true;
    bool running = false;
};

TEST_F(SessionEndTest, WithTheOptionOnTheAnswerWaitsForAPassWithTheReasonShown) {
    Use({[this] { return on; },
         [this] { return running; },
         [this] {
             events.push_back("pass");
             // While the pass runs, the window still answers: a second query gets "not yet" and
             // starts nothing.
             running = true;
             EXPECT_EQ(Query(), FALSE);
             running = false;
         },
         {},
         {}});
    EXPECT_EQ(Query(), TRUE);
    EXPECT_EQ(events, (std::vector<std::string>{"show Erasing traces...", "pass", "drop"}));
    EXPECT_FALSE(session->ReasonShown());

    // Asked again before the session ends: already answered, no second pass.
    EXPECT_EQ(Query(), TRUE);
    End(true);
    EXPECT_EQ(events.size(), 3u);
}

TEST_F(SessionEndTest, WithTheOptionOffNothingHappens) {
    on = false;
    int passes = 0;
    Use({[this] { return on; }, [] { return false; }, [&] { ++passes; }, {}, {}});
    EXPECT_EQ(Query(), TRUE);
    End(true);
    EXPECT_EQ(passes, 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(SessionEndTest, APassAlreadyRunningIsNotStartedTwice) {
    int passes = 0;
    running = true;
    Use({[this] { return on; }, [this] { return running; }, [&] { ++passes; }, {}, {}});
    EXPECT_EQ(Query(), FALSE);
    EXPECT_TRUE(session->ReasonShown());
    EXPECT_EQ(Query(), FALSE);
    EXPECT_EQ(passes, 0);
    // The running pass ends: the reason goes, and the next query may end the session.
    running = false;
    session->PassEnded(window);
    EXPECT_FALSE(session->ReasonShown());
    EXPECT_EQ(events, (std::vector<std::string>{"show Erasing traces...", "drop"}));
}

TEST_F(SessionEndTest, ASessionThatGoesOnGetsANewPassAtItsNextEnd) {
    int passes = 0;
    Use({[this] { return on; }, [] { return false; }, [&] { ++passes; }, {}, {}});
    EXPECT_EQ(Query(), TRUE);
    End(false);
    EXPECT_EQ(Query(), TRUE);
    EXPECT_EQ(passes, 2);
    // Closing programs for an update is no end of the session.
    End(false);
    EXPECT_EQ(Query(ENDSESSION_CLOSEAPP), TRUE);
    EXPECT_EQ(passes, 2);
}

// The option as the settings file holds it, and a real pass: by the time the query is answered,
// the ticked item is gone.
TEST_F(SessionEndTest, TheRealPassRunsFromTheSettingsFile) {
    TempFolder program;
    TempFolder home;
    SharedValues values;
    values.AppDataFolder = home / "Roaming";
    values.LocalAppDataFolder = home / "Local";
    const std::string cookies =
        values.AppDataFolder + "\\Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite";
    test::WriteFileText(cookies, "tracked");
    const std::string settings = program / "hushsd.dat";
    WriteIniValue(settings, "FIREFOX", "Cookies", "1");
    test::RecordingUi ui;
    PassSetup setup;
    setup.programFolder = program.path();
    CleanRun run(ui, values, setup);
    Use({[&] { return CleansAtSessionEnd(settings); },
         [&] { return run.IsRunning(); },
         [&] { run.CleanNow(); },
         {},
         {}});

    WriteIniValue(settings, "Options", "WindowsShutdown", "0");
    EXPECT_EQ(Query(), TRUE);
    EXPECT_TRUE(test::FileExists(cookies));
    End(false);

    WriteIniValue(settings, "Options", "WindowsShutdown", "1");
    EXPECT_EQ(Query(), TRUE);
    EXPECT_FALSE(test::FileExists(cookies));
    EXPECT_EQ(ui.rows.at(0).label, "Firefox Cookies");
}

}  // namespace
}  // namespace hm

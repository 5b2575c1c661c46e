// Helpers for the window tests: a probe that runs code when a window's pass lets pending messages
// run, reading a report list, a plain top-level window, and a layout check.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace hm::test {

void InitCommonControlsForTests();

// A hidden window that runs a callback when its posted message is delivered, so a test can look
// at a window in the middle of a pass.
class Probe {
public:
    Probe();
    ~Probe();
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    void Post(std::function<void()> action);
    int runs = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    std::function<void()> action_;
};

// A visible top-level window of the given class.
class TopLevelWindow {
public:
    TopLevelWindow(const wchar_t* className, RECT box);
    ~TopLevelWindow();
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

struct RowText {
    std::string item;
    std::string status;
    bool operator==(const RowText&) const = default;
};
void PrintTo(const RowText& row, std::ostream* out);

// The rows of a report list: its first two columns.
std::vector<RowText> ListRows(HWND list);

// Every visible child of the window lies inside its client area, and no two share a pixel except
// those named as containers (a group box, a background picture).
void ExpectVisibleControlsApart(HWND window, std::initializer_list<int> containers);

}  // namespace hm::test

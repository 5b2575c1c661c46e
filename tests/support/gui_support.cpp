#include "support/gui_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "platform/text.h"

namespace hm::test {

void InitCommonControlsForTests() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                           ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

Probe::Probe() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Probe::Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"HushmarkTestProbe";
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered
    hwnd_ = CreateWindowExW(0, L"HushmarkTestProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Probe::~Probe() {
    DestroyWindow(hwnd_);
}

void Probe::Post(std::function<void()> action) {
    action_ = std::move(action);
    PostMessageW(hwnd_, WM_APP, 0, 0);
}

LRESULT CALLBACK Probe::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_APP && self != nullptr) {
        ++self->runs;
        // The action may post this probe again; keep what runs now.
        const std::function<void()> action = self->action_;
        if (action) {
            action();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TopLevelWindow::TopLevelWindow(const wchar_t* className, RECT box) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
    hwnd_ = CreateWindowExW(0, className, L"test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, box.left,
                            box.top, box.right - box.left, box.bottom - box.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
}

TopLevelWindow::~TopLevelWindow() {
    DestroyWindow(hwnd_);
}

void PrintTo(const RowText& row, std::ostream* out) {
    *out << "{" << row.item << " | " << row.status << "}";
}

std::vector<RowText> ListRows(HWND list) {
    const auto cell = [list](int row, int column) {
        wchar_t buffer[512] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = 512;
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return Narrow(buffer);
    };
    std::vector<RowText> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        rows.push_back({cell(row, 0), cell(row, 1)});
    }
    return rows;
}

void ExpectVisibleControlsApart(HWND window, std::initializer_list<int> containers) {
    RECT client = {};
    GetClientRect(window, &client);
    std::vector<std::pair<int, RECT>> boxes;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        RECT box = {};
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
        const int id = GetDlgCtrlID(child);
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= client.right &&
                    box.bottom <= client.bottom)
            << "control " << id << " leaves the window";
        if (std::find(containers.begin(), containers.end(), id) == containers.end()) {
            boxes.emplace_back(id, box);
        }
    }
    for (size_t a = 0; a < boxes.size(); ++a) {
        for (size_t b = a + 1; b < boxes.size(); ++b) {
            RECT overlap = {};
            EXPECT_FALSE(IntersectRect(&overlap, &boxes[a].second, &boxes[b].second))
                << "controls " << boxes[a].first << " and " << boxes[b].first << " overlap";
        }
    }
}

}  // namespace hm::test

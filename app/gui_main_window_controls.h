// The main window's controls as data: their class, text, style and place at 96 DPI, which panel
// shows them, and their font. The window creates them in this order, which is also the tab
// order, and scales the places to its DPI.
#pragma once

#include <windows.h>

#include <vector>

#include "app/gui_controls.h"

namespace hm {

// Client size at 96 DPI; every control is laid out in these units and scaled.
inline constexpr int kMainClientWidth = 720;
inline constexpr int kMainClientHeight = 480;
inline constexpr int kItemColumnWidth = 330;
// An analysis says more per row: its item column gives way to the status.
inline constexpr int kAnalysisItemColumnWidth = 240;

enum class Panel { Both, Home, Status };

struct ControlSpec {
    int id;
    const wchar_t* className;
    const char* text;
    DWORD style;
    DWORD exStyle;
    ControlBox box;  // at 96 DPI
    Panel panel;
    int font;  // 0 normal, 1 title, 2 link
};

// In creation order, which is also the tab order.
const std::vector<ControlSpec>& MainWindowControls();

}  // namespace hm

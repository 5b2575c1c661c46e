// The clean-items dialog driven in-process under Wine: a throwaway program folder, answers for
// the message boxes, pickers and mail detection, and helpers that act as the user would (bring
// the box's tab to the front, then click) and read back what the dialog shows and writes.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/gui_controls.h"
#include "config/gui_settings_dialog.h"
#include "config/inifun.h"
#include "platform/text.h"
#include "support/gui_support.h"
#include "support/sandbox.h"

namespace hm::test {

// A tab control's titles, each followed by "|".
inline std::string TabTitles(HWND tabs) {
    std::string titles;
    for (int tab = 0; tab < TabCtrl_GetItemCount(tabs); ++tab) {
        wchar_t title[64] = {};
        TCITEMW item = {TCIF_TEXT, 0, 0, title, 64, 0, 0};
        SendMessageW(tabs, TCM_GETITEMW, tab, reinterpret_cast<LPARAM>(&item));
        titles += Narrow(title) + "|";
    }
    return titles;
}


inline const std::string kOutlookKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Outlook Express";
inline const std::string kLiveMailKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Mail";

struct Asked {
    std::string text;
    std::string title;
    UINT type;
};

inline void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The text of a cell of a report list.
inline std::string Cell(HWND list, int row, int column) {
    wchar_t buffer[1024] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return Narrow(buffer);
}

inline std::string WithoutAccessKey(std::string text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        plain.push_back(text[i]);
    }
    return plain;
}

class SettingsDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitCommonControlsForTests(); }
    ~SettingsDialogTest() override { dialog.reset(); }

    void Open(bool realRegistry = false) {
        SettingsServices services;
        services.messageBox = [this](HWND, const std::wstring& text, const std::wstring& title,
                                     UINT type) {
            asked.push_back({Narrow(text), Narrow(title), type});
            const int answer = answers.empty() ? IDOK : answers.front();
            if (!answers.empty()) {
                answers.pop_front();
            }
            return answer;
        };
        services.pickFiles = [this](HWND) -> std::optional<std::string> {
            // As the system's dialog does, it leaves the current folder at the folder chosen.
            if (pickedFiles) {
                SetCurrentDirectoryW(Widen(filesFolder).c_str());
            }
            return pickedFiles;
        };
        services.pickFolder = [this](HWND) { return pickedFolder; };
        services.pickRuleFile = [this](HWND) { return pickedRuleFile; };
        if (!realRegistry) {
            services.readRegistry = [this](const std::string& key, const std::string& value) {
                registryReads.push_back(key + "|" + value);
                return installed.count(key) != 0 ? std::string("C:\\Mail") : std::string("Error");
            };
        }
        dialog = std::make_unique<frmsettings>(program.path(), registry, services);
        ASSERT_TRUE(dialog->ShowModeless(nullptr));
    }
    void Save() {
        Click(frmsettings::Command1);
        ASSERT_EQ(dialog->hwnd(), nullptr);
    }

    HWND Control(int id) const { return dialog->Control(id); }
    HWND Box(std::string_view control) const { return Control(frmsettings::CheckId(control)); }
    bool Ticked(std::string_view control) const {
        return SendMessageW(Box(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // "1" and "0" for the boxes in order.
    std::string States(const std::vector<std::string_view>& controls) const {
        std::string states;
        for (std::string_view control : controls) {
            states += Ticked(control) ? '1' : '0';
        }
        return states;
    }
    // Shows the tab (and sub-tab) that holds the control.
    void Reveal(HWND control) {
        const std::vector<HWND>& pages = dialog->Pages();
        for (std::size_t tab = 0; tab < pages.size(); ++tab) {
            if (!IsChild(pages[tab], control)) {
                continue;
            }
            SelectTab(Control(frmsettings::SSTab1), static_cast<int>(tab));
            const std::vector<HWND>& subPages = dialog->SubPages(static_cast<int>(tab));
            for (std::size_t sub = 0; sub < subPages.size(); ++sub) {
                if (IsChild(subPages[sub], control)) {
                    SelectTab(dialog->SubTabControl(static_cast<int>(tab)), static_cast<int>(sub));
                }
            }
        }
    }
    // As a click on a tab does: the control selects it and tells its parent.
    void SelectTab(HWND control, int tab) {
        SendMessageW(control, TCM_SETCURSEL, tab, 0);
        const int id = GetDlgCtrlID(control);
        NMHDR header = {control, static_cast<UINT_PTR>(id), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(GetParent(control), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
    }
    void SelectTab(int tabs, int tab) { SelectTab(Control(tabs), tab); }
    void Click(HWND control) {
        Reveal(control);
        SendMessageW(control, BM_CLICK, 0, 0);
    }
    void Click(int id) { Click(Control(id)); }
    void ClickBox(std::string_view control) { Click(Box(control)); }

    std::string Settings() const { return program / "hushsd.dat"; }
    std::string Stored(const CatalogueItem& item) const {
        return ReadIniValue(Settings(), std::string(item.section), std::string(item.key));
    }
    void Store(const CatalogueItem& item, const char* value) const {
        WriteIniValue(Settings(), std::string(item.section), std::string(item.key), value);
    }

    TempFolder program;
    CurrentFolderGuard keepFolder{program.path()};
    RecordingMessages messages;
    Regfun registry{messages};
    std::unique_ptr<frmsettings> dialog;
    std::vector<Asked> asked;
    std::deque<int> answers;
    std::optional<std::string> pickedFiles;
    std::string filesFolder;
    std::optional<std::string> pickedFolder;
    std::optional<std::string> pickedRuleFile;
    std::set<std::string> installed = {kOutlookKey, kLiveMailKey};
    std::vector<std::string> registryReads;
};

}  // namespace hm::test

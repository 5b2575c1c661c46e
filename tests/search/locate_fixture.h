// The search window driven in-process: a throwaway program folder with the default Ext.txt, a
// throwaway folder tree to search, the settings store pointed at a throwaway key, and message
// boxes recorded and answered by the test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/gui_controls.h"
#include "platform/text.h"
#include "search/extention_handller.h"
#include "search/gui_frm_locate.h"
#include "support/gui_support.h"
#include "support/sandbox.h"

namespace hm::test {

struct Asked {
    std::string text;
    std::string title;
    UINT type = 0;
};

class LocateFixture : public ::testing::Test {
protected:
    using F = frmLocate;
    using Lines = std::vector<std::string>;

    static void SetUpTestSuite() { InitCommonControlsForTests(); }

    LocateFixture() { ExtentionHandller::WriteDefaultExtensions(program.path()); }
    ~LocateFixture() override { window.reset(); }

    void Open() {
        LocateServices services;
        services.messageBox = [this](HWND, const std::wstring& text, const std::wstring& title,
                                     UINT type) {
            asked.push_back({Narrow(text), Narrow(title), type});
            return answer;
        };
        services.showAbout = [this](HWND) { ++abouts; };
        services.settingsKey = store.subKey();
        window = std::make_unique<frmLocate>(program.path(), services);
        ASSERT_TRUE(window->ShowModeless(nullptr));
    }

    HWND Control(int id) const { return window->Item(id); }
    std::string Text(int id) const { return GetText(Control(id)); }
    void SetControlText(int id, const std::string& text) { SetText(Control(id), text); }
    void Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    void Menu(int id) { SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    bool Checked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == 1; }
    void SetChecked(int id, bool checked) {
        if (Checked(id) != checked) {
            Click(id);
        }
    }
    std::string Setting(const char* section, const char* key) const {
        return window->settings().Get(section, key, "(missing)");
    }

    // Files below the tree, made with one byte each.
    void Make(const Lines& files) {
        for (const std::string& file : files) {
            WriteFileText(tree / file, "x");
        }
    }
    // Searches the tree with the pattern text as "&Find Files" does.
    void Find(const std::string& patterns) {
        if (window->DirPath() != tree.path()) {
            window->ChangeDir(tree.path());
        }
        SetControlText(F::Text1, patterns);
        Click(F::cmdAction0);
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        const HWND list = Control(F::List1);
        const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT index = 0; index < count; ++index) {
            std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, index, 0)),
                              L'\0');
            SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
            entries.push_back(Narrow(text));
        }
        return entries;
    }
    // The listed paths below the tree (the text before the size), sorted.
    Lines Listed() const {
        Lines paths;
        for (const std::string& entry : Entries()) {
            const std::string path = entry.substr(0, entry.find("   Size:"));
            paths.push_back(path.rfind(tree.path() + "\\", 0) == 0
                                ? path.substr(tree.path().size() + 1)
                                : "(elsewhere) " + path);
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    LRESULT SelectedCount() const { return SendMessageW(Control(F::List1), LB_GETSELCOUNT, 0, 0); }

    TempFolder program;
    TempFolder tree;
    TempRegKey store;
    std::vector<Asked> asked;
    int answer = IDYES;
    int abouts = 0;
    std::unique_ptr<frmLocate> window;
};

}  // namespace hm::test

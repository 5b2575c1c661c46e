// The extension dialog frmExtentions (caption "Options"): the valid lines of Ext.txt, a box to add
// one, and "&Remove", "&Default" and "D&one". After each change of the list it hands the new
// pattern text to the search window; an empty one is not handed on, so the search window keeps
// its text.
#pragma once

#include <functional>
#include <string>

#include "app/gui_dialog.h"
#include "app/gui_main_window.h"
#include "search/lintwell_settings.h"
#include "search/search_ids.h"

namespace hm {

class frmExtentions : public Dialog {
public:
    enum : int {
        Frame1 = IDC_EXT_FRAME1,
        lstFileTypes = IDC_EXT_LSTFILETYPES,
        Frame2 = IDC_EXT_FRAME2,
        Label2 = IDC_EXT_LABEL2,
        txtAdd = IDC_EXT_TXTADD,
        cmdRemove = IDC_EXT_CMDREMOVE,
        cmdDefault = IDC_EXT_CMDDEFAULT,
        cmdDone = IDC_EXT_CMDDONE,
        cmdAdd = IDC_EXT_CMDADD,
    };

    // setSearchText receives the new pattern text (the search window's Text1); messageBox is
    // MessageBoxW when empty.
    frmExtentions(std::string programFolder, const search::LintwellSettings& settings,
                  std::function<void(const std::string&)> setSearchText,
                  MessageBoxFunction messageBox = {});

    // Fills lstFileTypes with the valid lines of Ext.txt.
    void LoadExtensionList();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;

private:
    void Add();
    void Remove();
    void Default();
    void HandPatternsBack();

    std::string programFolder_;
    const search::LintwellSettings& settings_;
    std::function<void(const std::string&)> setSearchText_;
    MessageBoxFunction messageBox_;
};

}  // namespace hm

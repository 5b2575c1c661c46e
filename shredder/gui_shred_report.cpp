#include "shredder/gui_shred_report.h"

#include <commctrl.h>

#include <utility>

#include "platform/shred_rules.h"
#include "shredder/gui_list.h"
#include "shredder/shredder_ids.h"

namespace hm {
namespace {

std::string ResultWord(const shred::ItemResult& result) {
    if (result.error != 0) {
        return "Kept";
    }
    return result.kind == shred::ItemKind::File ? "Shredded" : "Removed";
}

std::string Detail(const shred::ItemResult& result) {
    if (result.error != 0) {
        return shred::ReasonText(result.error);
    }
    switch (result.kind) {
        case shred::ItemKind::File:
            return shred::Counted(result.size, "byte");
        case shred::ItemKind::Link:
            return "link; what it points to is kept";
        case shred::ItemKind::Folder:
            return "folder";
    }
    return {};
}

}  // namespace

ShredReportDialog::ShredReportDialog(ShredReport report)
    : Dialog(IDD_SHREDREPORT), report_(std::move(report)) {}

bool ShredReportDialog::OnInit() {
    SetItemText(IDC_REP_SUMMARY, report_.summary);
    HWND list = Item(IDC_REP_LIST);
    SetUpList(hwnd(), list, {{"Result", 44}, {"File or folder", 170}, {"Detail", 100}});
    // What stays comes first: that is what the user has to act on.
    for (const shred::Refusal& refusal : report_.refused) {
        AppendRow(list, {"Refused", refusal.path, refusal.reason});
    }
    for (const bool kept : {true, false}) {
        for (const shred::ItemResult& result : report_.results) {
            if ((result.error != 0) == kept) {
                AppendRow(list, {ResultWord(result), result.path, Detail(result)});
            }
        }
    }
    return true;
}

}  // namespace hm

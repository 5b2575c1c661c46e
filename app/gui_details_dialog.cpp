#include "app/gui_details_dialog.h"

#include <commctrl.h>

#include <utility>

#include "app/details_ids.h"
#include "platform/text.h"

namespace hm {

DetailsDialog::DetailsDialog(AnalyzedItem item)
    : Dialog(IDD_ANALYSIS_DETAILS), item_(std::move(item)) {}

bool DetailsDialog::OnInit() {
    SetWindowTextW(hwnd(), Widen("Details: " + item_.label).c_str());
    SetItemText(IDC_DETAILS_SUMMARY, AnalysisStatusText(CountTraces(item_.traces)));
    HWND list = Item(IDC_DETAILS_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP,
                 LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    RECT window = {};
    GetWindowRect(hwnd(), &window);
    minimum_ = {window.right - window.left, window.bottom - window.top};
    RECT client = {};
    GetClientRect(hwnd(), &client);
    RECT box = {};
    GetWindowRect(list, &box);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&box), 2);
    listOrigin_ = {box.left, box.top};
    listMargin_ = {client.right - box.right, client.bottom - box.bottom};
    GetWindowRect(Item(IDCANCEL), &box);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&box), 2);
    buttonOffset_ = {client.right - box.left, client.bottom - box.top};

    RECT inside = {};
    GetClientRect(list, &inside);
    const int width = inside.right - inside.left - GetSystemMetrics(SM_CXVSCROLL);
    const int kindWidth = width * 16 / 100;
    const int sizeWidth = width * 13 / 100;
    const struct {
        const wchar_t* text;
        int width;
        int format;
    } columns[] = {{L"Kind", kindWidth, LVCFMT_LEFT},
                   {L"Path", width - kindWidth - sizeWidth, LVCFMT_LEFT},
                   {L"Size", sizeWidth, LVCFMT_RIGHT}};
    for (int index = 0; index < 3; ++index) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        column.pszText = const_cast<wchar_t*>(columns[index].text);
        column.cx = columns[index].width;
        column.fmt = columns[index].format;
        column.iSubItem = index;
        SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
    }
    FillList();
    return true;
}

void DetailsDialog::FillList() {
    HWND list = Item(IDC_DETAILS_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t row = 0; row < item_.traces.size(); ++row) {
        const Trace& trace = item_.traces[row];
        std::wstring cells[] = {Widen(TraceKindText(trace)), Widen(TracePathText(trace)),
                                Widen(TraceSizeText(trace))};
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = cells[0].data();
        const int index = static_cast<int>(
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (int column = 1; column < 3 && index >= 0; ++column) {
            LVITEMW cell = {};
            cell.iSubItem = column;
            cell.pszText = cells[column].data();
            SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
        }
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// The largest first on the first click on "Size", A to Z on the others.
void DetailsDialog::SortBy(TraceColumn column) {
    if (sorted_ && column == sortColumn_) {
        ascending_ = !ascending_;
    } else {
        ascending_ = column != TraceColumn::Size;
    }
    sorted_ = true;
    sortColumn_ = column;
    SortTraces(item_.traces, column, ascending_);
    if (hwnd() != nullptr) {
        FillList();
        ShowSortArrow();
    }
}

void DetailsDialog::ShowSortArrow() {
    HWND header = reinterpret_cast<HWND>(SendMessageW(Item(IDC_DETAILS_LIST), LVM_GETHEADER, 0, 0));
    for (int index = 0; index < 3; ++index) {
        HDITEMW item = {};
        item.mask = HDI_FORMAT;
        SendMessageW(header, HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (index == static_cast<int>(sortColumn_)) {
            item.fmt |= ascending_ ? HDF_SORTUP : HDF_SORTDOWN;
        }
        SendMessageW(header, HDM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
    }
}

void DetailsDialog::Arrange(int width, int height) {
    HWND list = Item(IDC_DETAILS_LIST);
    const int listWidth = width - listOrigin_.x - listMargin_.cx;
    const int listHeight = height - listOrigin_.y - listMargin_.cy;
    MoveWindow(list, listOrigin_.x, listOrigin_.y, listWidth, listHeight, TRUE);
    HWND button = Item(IDCANCEL);
    RECT box = {};
    GetWindowRect(button, &box);
    MoveWindow(button, width - buttonOffset_.cx, height - buttonOffset_.cy, box.right - box.left,
               box.bottom - box.top, TRUE);
    HWND summary = Item(IDC_DETAILS_SUMMARY);
    GetWindowRect(summary, &box);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&box), 2);
    MoveWindow(summary, box.left, box.top, listWidth, box.bottom - box.top, TRUE);
    // The path column takes what the others leave.
    RECT inside = {};
    GetClientRect(list, &inside);
    const int others = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0) +
                                        SendMessageW(list, LVM_GETCOLUMNWIDTH, 2, 0));
    const int path = inside.right - inside.left - others - GetSystemMetrics(SM_CXVSCROLL);
    if (path > 0) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, path);
    }
}

bool DetailsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_SIZE && minimum_.cx > 0 && wParam != SIZE_MINIMIZED) {
        Arrange(LOWORD(lParam), HIWORD(lParam));
        result = 0;
        return true;
    }
    if (message == WM_GETMINMAXINFO && minimum_.cx > 0) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {minimum_.cx, minimum_.cy};
        result = 0;
        return true;
    }
    return Dialog::OnMessage(message, wParam, lParam, result);
}

LRESULT DetailsDialog::OnNotify(const NMHDR& header) {
    if (header.idFrom == IDC_DETAILS_LIST && header.code == LVN_COLUMNCLICK) {
        const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
        if (click.iSubItem >= 0 && click.iSubItem < 3) {
            SortBy(static_cast<TraceColumn>(click.iSubItem));
        }
        return 0;
    }
    return Dialog::OnNotify(header);
}

}  // namespace hm

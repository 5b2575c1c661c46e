#include "shredder/gui_list.h"

#include <commctrl.h>

#include "platform/text.h"

namespace hm {

void SetUpList(HWND dialog, HWND list, std::initializer_list<ListColumn> columns) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    int index = 0;
    for (const ListColumn& column : columns) {
        RECT box = {0, 0, column.widthDialogUnits, 1};
        MapDialogRect(dialog, &box);
        std::wstring title = Widen(column.title);
        LVCOLUMNW header = {};
        header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        header.pszText = title.data();
        header.cx = box.right;
        header.iSubItem = index;
        SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&header));
        ++index;
    }
}

int AppendRow(HWND list, const std::vector<std::string>& cells) {
    if (cells.empty()) {
        return -1;
    }
    std::wstring text = Widen(cells[0]);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = text.data();
    const int row =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t column = 1; row >= 0 && column < cells.size(); ++column) {
        std::wstring cell = Widen(cells[column]);
        LVITEMW sub = {};
        sub.iSubItem = static_cast<int>(column);
        sub.pszText = cell.data();
        SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
    }
    return row;
}

}  // namespace hm

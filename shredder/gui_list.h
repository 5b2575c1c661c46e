// Report-view list helpers the shredder's two windows share.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace hm {

struct ListColumn {
    const char* title;
    int widthDialogUnits;  // grows with the dialog's font, so with the screen's DPI
};

// Full-row selection and the given columns, widths measured in the dialog's units.
void SetUpList(HWND dialog, HWND list, std::initializer_list<ListColumn> columns);

// Appends a row; returns its index.
int AppendRow(HWND list, const std::vector<std::string>& cells);

}  // namespace hm

// The details of one analyzed row: every file, folder, key, value and section the pass would
// remove for it, with kind, path and size. A click on a column header sorts by that column; a
// second click on the same header reverses the order. The dialog can be made larger; the list and
// its path column grow with it.
#pragma once

#include <string>
#include <vector>

#include "app/analysis_rules.h"
#include "app/gui_dialog.h"

namespace hm {

class DetailsDialog : public Dialog {
public:
    explicit DetailsDialog(AnalyzedItem item);

    // Sorts as a click on the column's header does.
    void SortBy(TraceColumn column);
    const std::vector<Trace>& traces() const { return item_.traces; }

protected:
    bool OnInit() override;
    LRESULT OnNotify(const NMHDR& header) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void FillList();
    void ShowSortArrow();
    void Arrange(int width, int height);

    AnalyzedItem item_;
    TraceColumn sortColumn_ = TraceColumn::Path;
    bool ascending_ = true;
    bool sorted_ = false;
    // The template's layout: the window's smallest size, the list's top-left corner and the
    // margins right of and below it, the close button's distance from the lower-right corner.
    SIZE minimum_ = {};
    POINT listOrigin_ = {};
    SIZE listMargin_ = {};
    SIZE buttonOffset_ = {};
};

}  // namespace hm

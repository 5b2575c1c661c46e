// How the cleaning pass shows its progress: the main window with its list and progress bar, the
// command line by printing, the tests by recording. What happens after the pass (the summary
// message box or pop-up, ending the program) is the caller's to decide from the pass's result.
#pragma once

#include <string>

#include "engine/catalogue.h"
#include "platform/user_messages.h"

namespace hm {

class PassUi : public UserMessages {
public:
    // Shows the status panel and the busy pointer, disables the start button, empties the result
    // list, sets the progress bar to 1 and clears the status caption.
    virtual void BeginPass() = 0;
    // Adds a result row (label, status) and makes it the current row; keeps it in view.
    virtual void AddRow(const std::string& label, const std::string& status) = 0;
    // Sets the status column of the current row.
    virtual void SetRowStatus(const std::string& status) = 0;
    virtual void SetCaption(const std::string& text) = 0;
    virtual void SetProgress(int value) = 0;
    // Lets pending window events run, so the list repaints and the tray keeps answering.
    virtual void PumpEvents() = 0;
    // Enables the start button again and restores the normal pointer.
    virtual void EndPass() = 0;
    // Brings the program's window to the front and gives it the focus (after an item has opened
    // another program's window).
    virtual void BringToFront() {}
    // Names the item whose row comes next by its settings section and key ("(plug-ins)" and the
    // plug-in's name, "Winapp2" and the rule's name), for a caller that reports rows by key.
    virtual void NoteItem(const std::string& /*section*/, const std::string& /*key*/) {}
    // A ticked item that has no actions yet; the pass skips it without a row.
    virtual void NoteNotBuilt(const CatalogueItem& /*item*/) {}
};

}  // namespace hm

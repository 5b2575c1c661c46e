// The one way the cleaning pass reaches the screen. The main window implements it with its list,
// progress bar and message boxes; the command line prints; the tests record.
#pragma once

#include <string>

#include "engine/catalogue.h"
#include "platform/user_messages.h"

namespace hm {

// A pop-up notification for the end of a pass that nobody started by hand.
struct PopupRequest {
    std::string title;
    std::string text;
    std::string key;  // requests with the same key replace each other unless kept separate
    bool keepSeparate = true;
    bool clickEnabled = true;
    std::string soundFile;
};

class PassUi : public UserMessages {
public:
    // Shows the status panel, the busy pointer, disables the start button, empties the result
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
    // Re-enables the start button.
    virtual void EnableStart() = 0;
    // Restores the normal mouse pointer.
    virtual void RestorePointer() = 0;
    // The end-of-pass summary for a pass started by hand: a message box the pass waits for.
    virtual void ShowSummary(const std::string& text) {
        Tell(text, "Task Complete", MessageIcon::Information);
    }
    virtual void ShowPopup(const PopupRequest& request) = 0;
    // Home panel: the last-clean time and the totals line; then the main window is shown.
    virtual void ShowHomeTotals(const std::string& lastClean, const std::string& totalsLine) = 0;
    // Ends the program at once (the "exit after cleaning" option).
    virtual void ExitProgram() = 0;
    // A ticked item whose group has no actions yet; the pass skips it without a row.
    virtual void NoteNotBuilt(const CatalogueItem& /*item*/) {}
};

}  // namespace hm

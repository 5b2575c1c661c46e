// One cleaning pass: walks the catalogue in its fixed order, erases every ticked item, adds what
// each removed to the pass totals, and ends with the summary.
#pragma once

#include <functional>
#include <string>

#include "engine/catalogue.h"
#include "engine/erase.h"
#include "engine/pass_ui.h"
#include "engine/shared_values.h"

namespace hm {

struct PassSetup {
    std::string programFolder;                // holds hushsd.dat
    std::function<std::string()> now;         // the date-time text stored as "lastclean"
    EraseMode mode = EraseMode::Erase;        // Preview changes nothing, settings included
    EraseObserver* observer = nullptr;        // receives what is (or would be) removed
};

class CleanRun {
public:
    CleanRun(PassUi& ui, SharedValues& values, PassSetup setup);
    CleanRun(const CleanRun&) = delete;
    CleanRun& operator=(const CleanRun&) = delete;

    // Runs one pass. A request that arrives while a pass runs (the pass lets pending window
    // events run) is ignored rather than nested.
    void CleanNow();
    bool IsRunning() const { return running_; }

    // Adds a result row "Cleaning <label> ......" and shows the same text in the caption.
    void showstatus(const std::string& label);

    std::string SettingsFile() const;

private:
    void RunItem(const CatalogueItem& item, Eraser& eraser);
    void RunAction(const Action& action, Eraser& eraser);
    std::string Resolve(const FolderRef& folder) const;
    void EndPass();

    PassUi& ui_;
    SharedValues& values_;
    PassSetup setup_;
    bool running_ = false;
    std::string netscapeRoot_;  // chosen at the start of each Netscape item
};

// Reads the last pass's totals ("regnum", "filesize") from the settings file into the values
// (an empty or non-numeric entry gives 0) and returns the "lastclean" text.
std::string LoadLastPassTotals(const std::string& settingsFile, SharedValues& values);

// Runs one step of a handler; a failure skips that step only.
template <typename Step>
void CarryOn(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace hm

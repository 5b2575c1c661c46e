// One cleaning pass: walks the catalogue in its fixed order, erases every ticked item, adds what
// each removed to the pass totals, and ends with the summary.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/catalogue.h"
#include "engine/erase.h"
#include "engine/pass_ui.h"
#include "engine/shared_values.h"
#include "keeplists/keep_lists.h"

namespace hm {

struct PassContext;
class OfficeProbe;

struct PassSetup {
    std::string programFolder;                // holds the program's own files (delThumbs.bat)
    // Holds the lists the settings go with (cusd.dat, the keep lists, plus-in, winapp2.ini); the
    // program folder when empty. The command line's --settings points it elsewhere.
    std::string dataFolder;
    std::string settingsFile;                 // hushsd.dat in the data folder when empty
    std::function<std::string()> now;         // the date-time text stored as "lastclean"
    EraseMode mode = EraseMode::Erase;        // Preview changes nothing, settings included
    EraseObserver* observer = nullptr;        // receives what is (or would be) removed
    KeepLists* keepLists = nullptr;           // the data folder's keep-list files if null
    // Makes the changes of the pass (the tests put a recorder around them); when empty the mode
    // decides between making and predicting them.
    std::function<std::unique_ptr<Changes>()> changes;
    // How long a pass waits for another pass on the same program folder (in this or another
    // process) to end before it gives up.
    unsigned lockWaitMilliseconds = 0;
    // Tells the installed Office generation (the tests put their own); Word's automation if null.
    OfficeProbe* officeProbe = nullptr;
};

enum class PassStart {
    Ran,
    Nested,             // asked for while this object's pass runs; ignored
    Busy,               // another pass on the same data folder did not end in time
    SettingsTooLarge,   // the settings file cannot be read; nothing was cleaned
};

struct PassResult {
    PassStart start = PassStart::Ran;
    double registryKeys = 0;  // the pass counters as the pass ended
    double bytes = 0;
    // Things ticked items selected that stayed because the system refused (in use, access
    // denied), and the number of items that left such things behind.
    int leftovers = 0;
    int itemsWithLeftovers = 0;
    bool exited = false;       // the "exit" option asks to end the program instead of the summary
    bool totalsSaved = false;  // "lastclean", "regnum" and "filesize" were written
};

class CleanRun {
public:
    CleanRun(PassUi& ui, SharedValues& values, PassSetup setup);
    CleanRun(const CleanRun&) = delete;
    CleanRun& operator=(const CleanRun&) = delete;

    // Runs one pass. A request that arrives while a pass runs (the pass lets pending window
    // events run) is ignored rather than nested.
    PassResult CleanNow();
    bool IsRunning() const { return running_; }

    // Adds a result row "Cleaning <label> ......" and shows the same text in the caption.
    void showstatus(const std::string& label);

    std::string SettingsFile() const;
    std::string DataFolder() const;

private:
    void RunItem(const CatalogueItem& item, PassContext& context, PassResult& result);
    void RunPlugins(PassContext& context, PassResult& result);
    void EndPass(PassResult& result);

    PassUi& ui_;
    SharedValues& values_;
    PassSetup setup_;
    bool running_ = false;
};

// "Task complete Successfully! Cleaned Registry Keys: N Released HD Space:X.XXMB"
std::string SummaryOf(const PassResult& result);

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

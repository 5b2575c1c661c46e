// "Analyze": the cleaning pass run as a preview, its traces gathered per result row. The pass
// reports every file, folder, key, value and section it would remove to an observer; the
// recorder below is that observer and, wrapped around the window's progress interface, also
// learns which row each trace belongs to. The texts the window and the details dialog show are
// made here too, so that tests reach them without a window.
#pragma once

#include <string>
#include <vector>

#include "engine/pass_ui.h"
#include "engine/trace.h"

namespace hm {

// One ticked item of an analysis: its row label and what the pass would do for it.
struct AnalyzedItem {
    std::string label;
    std::vector<Trace> traces;
};

// What a set of traces adds up to. Sizes are those of the files and folders that would go; a
// folder's size is that of its whole tree (its files are not reported on their own).
struct AnalysisCounts {
    int files = 0;
    int folders = 0;
    int keys = 0;  // keys and key trees
    int values = 0;
    int sections = 0;  // profile-file sections
    int databases = 0;  // databases with rows removed
    int others = 0;    // programs started, the recycle bin or clipboard emptied, reboot deletes
    int staying = 0;   // selected, but kept by a rule or refused by the system
    double bytes = 0;

    AnalysisCounts& operator+=(const AnalysisCounts& other);
};

AnalysisCounts CountTraces(const std::vector<Trace>& traces);

// "512 bytes", "12.5 KB", "1.20 MB", "2.05 GB".
std::string ByteSizeText(double bytes);

// The result list's cell under the header "Would remove": "12 files, 1 folder, 3 values,
// 1.20 MB", then "; 1 other change" for changes that remove nothing (a program started, the
// recycle bin emptied) and "; 2 would stay" for what was selected but stays; "Nothing" when
// nothing would change.
std::string AnalysisListText(const AnalysisCounts& counts);
// The same as a sentence: "Would remove 12 files, ...", "Nothing to remove".
std::string AnalysisStatusText(const AnalysisCounts& counts);

// The list's column header over an analysis, the label of its closing row (whose cell holds the
// totals of every item) and the caption beneath the list.
inline constexpr const char* kAnalysisHeader = "Would remove";
inline constexpr const char* kAnalysisComplete = "Analysis complete";
inline constexpr const char* kAnalysisCaption = "Analysis complete. Nothing was changed.";

// The details dialog's columns: "file", "folder", "key", "value", "section", ...; a trace that
// would stay says why ("file (stays: read-only)").
std::string TraceKindText(const Trace& trace);
// The path with the value name or section, as the user would look for it: "HKEY_...\Key\Value"
// for a value, "C:\...\file.ini [Section]" for a section.
std::string TracePathText(const Trace& trace);
// The size for files and folders, empty for everything else.
std::string TraceSizeText(const Trace& trace);

enum class TraceColumn { Kind = 0, Path = 1, Size = 2 };

// Sorts by the column; ties (and the kind column) fall back on the path, so the order is the
// same however often it is asked for. Paths compare without regard to case, as Windows does.
void SortTraces(std::vector<Trace>& traces, TraceColumn column, bool ascending);

// Wraps the window's progress interface while a preview pass runs: rows show "Analyzing"
// instead of "Cleaning", the engine's own row results and closing row are held back (the
// caller fills the list with the analysis once the pass has ended), and each trace is filed
// under the row the pass was on.
class AnalysisRecorder : public PassUi, public EraseObserver {
public:
    explicit AnalysisRecorder(PassUi& window) : window_(window) {}

    // Forgets an earlier analysis.
    void Reset() { items_.clear(); }
    const std::vector<AnalyzedItem>& items() const { return items_; }

    void Tell(const std::string& text, const std::string& title, MessageIcon icon) override;
    void BeginPass() override;
    void AddRow(const std::string& label, const std::string& status) override;
    void SetRowStatus(const std::string&) override {}
    void SetCaption(const std::string& text) override;
    void SetProgress(int value) override;
    void PumpEvents() override;
    void EndPass() override;
    void BringToFront() override;
    void NoteNotBuilt(const CatalogueItem& item) override;

    void OnTrace(const Trace& trace) override;

private:
    PassUi& window_;
    std::vector<AnalyzedItem> items_;
};

}  // namespace hm

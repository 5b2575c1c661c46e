// The pass as the command line shows it: each result row once its result is set, the summary
// on one line, messages for the user on standard error. With --json each row is one JSON object
// on its own line, with what the item removed (or would remove) and what stayed.
#pragma once

#include <string>
#include <vector>

#include "engine/erase.h"
#include "engine/pass_ui.h"

namespace hm {

class CliUi : public PassUi, public EraseObserver {
public:
    explicit CliUi(bool preview, bool json = false) : preview_(preview), json_(json) {}

    void Tell(const std::string& text, const std::string& title, MessageIcon icon) override;
    void BeginPass() override {}
    void AddRow(const std::string& label, const std::string& status) override;
    void SetRowStatus(const std::string& status) override;
    void SetCaption(const std::string&) override {}
    void SetProgress(int) override {}
    void PumpEvents() override {}
    void EndPass() override {}
    void NoteItem(const std::string& section, const std::string& key) override;
    void NoteNotBuilt(const CatalogueItem& item) override;

    void OnTrace(const Trace& trace) override;

    // Preview: everything that would be removed, then the totals and the summary.
    void PrintPreviewReport(double registryKeys, double bytes, const std::string& summary) const;

    // JSON: the closing object with the pass's totals and the exit code.
    struct JsonTotals {
        double registryKeys = 0;  // the pass counters
        double bytesCounted = 0;
        int leftovers = 0;
        int itemsWithLeftovers = 0;
        bool exited = false;
        int exitCode = 0;
    };
    void PrintJsonTotals(const JsonTotals& totals) const;

private:
    bool preview_;
    bool json_;
    std::string currentLabel_;
    std::vector<Trace> traces_;
    // JSON: the current row's item and what it reported; what the finished rows add up to.
    std::string section_;
    std::string key_;
    std::vector<Trace> rowTraces_;
    int rows_ = 0;
    double rowBytes_ = 0;
    int entries_ = 0;
    int staying_ = 0;
};

}  // namespace hm

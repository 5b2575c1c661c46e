// The pass as the command line shows it: each result row once its result is set, the summary
// on one line, messages for the user on standard error.
#pragma once

#include <string>
#include <vector>

#include "engine/erase.h"
#include "engine/pass_ui.h"

namespace hm {

class CliUi : public PassUi, public EraseObserver {
public:
    explicit CliUi(bool preview) : preview_(preview) {}

    void Tell(const std::string& text, const std::string& title, MessageIcon icon) override;
    void BeginPass() override {}
    void AddRow(const std::string& label, const std::string& status) override;
    void SetRowStatus(const std::string& status) override;
    void SetCaption(const std::string&) override {}
    void SetProgress(int) override {}
    void PumpEvents() override {}
    void EndPass() override {}
    void NoteNotBuilt(const CatalogueItem& item) override;

    void OnTrace(const Trace& trace) override;

    // Preview: everything that would be removed, then the totals and the summary.
    void PrintPreviewReport(double registryKeys, double bytes, const std::string& summary) const;

private:
    bool preview_;
    std::string currentLabel_;
    std::vector<Trace> traces_;
};

}  // namespace hm

// A pass user interface that records everything the pass shows, for the tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/erase.h"
#include "engine/pass_ui.h"

namespace hm::test {

struct Row {
    std::string label;
    std::string status;
};

class RecordingUi : public PassUi, public EraseObserver {
public:
    void Tell(const std::string& text, const std::string& title, MessageIcon) override {
        told.push_back(title + "|" + text);
    }
    void BeginPass() override { ++begun; }
    void AddRow(const std::string& label, const std::string& status) override {
        rows.push_back({label, status});
    }
    void SetRowStatus(const std::string& status) override {
        if (!rows.empty()) {
            rows.back().status = status;
        }
    }
    void SetCaption(const std::string& text) override { caption = text; }
    void SetProgress(int value) override { progress.push_back(value); }
    void PumpEvents() override {
        ++pumped;
        if (onPump) {
            onPump();
        }
    }
    void EndPass() override { ++ended; }
    void NoteNotBuilt(const CatalogueItem& item) override {
        notBuilt.push_back(std::string(item.section) + "\\" + std::string(item.key));
    }
    void OnTrace(const Trace& trace) override { traces.push_back(trace); }

    int begun = 0;
    int pumped = 0;
    int ended = 0;
    std::vector<Row> rows;
    std::string caption;
    std::vector<int> progress;
    std::vector<std::string> told;
    std::vector<std::string> notBuilt;
    std::vector<Trace> traces;
    std::function<void()> onPump;
};

}  // namespace hm::test

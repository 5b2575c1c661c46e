// Where the erase operations report what they did: to the observer, if anyone listens, and to a
// tally of what stayed against the system's will, which decides an item's result text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/trace.h"

namespace hm {

// What stayed during one item although it was selected: the system refused to remove it.
struct FailureTally {
    int failed = 0;  // traces with Outcome::Failed
    int inUse = 0;   // of those, items another program held open
    // Bytes of the files and database rows that went (or, in a preview, would go).
    double removedBytes = 0;
};

class Reporter {
public:
    // letEventsRun, when given, is called wherever an operation lets pending window events run,
    // besides the observer's OnYield.
    explicit Reporter(EraseObserver* observer, std::function<void()> letEventsRun = {})
        : observer_(observer), letEventsRun_(std::move(letEventsRun)) {}

    void Report(TraceKind kind, std::string path, double bytes, Outcome outcome,
                std::uint32_t error, std::string name = {});
    // The same for a file-system path in the "\\?\" form; the text is only made when someone
    // listens, so that a walk over many thousand files does not pay for it otherwise.
    void ReportPath(TraceKind kind, std::wstring_view longPath, double bytes, Outcome outcome,
                    std::uint32_t error);
    void LetEventsRun();
    // Bytes that went without a trace of their own (the files of a folder removed whole).
    void CountRemoved(double bytes) { tally_.removedBytes += bytes; }

    void ResetTally() { tally_ = {}; }
    const FailureTally& tally() const { return tally_; }

private:
    EraseObserver* observer_;
    std::function<void()> letEventsRun_;
    FailureTally tally_;
};

// The outcome of a change that was asked for: removed when the system did it, failed otherwise.
inline Outcome OutcomeOf(std::uint32_t error) {
    return error == 0 ? Outcome::Removed : Outcome::Failed;
}

}  // namespace hm

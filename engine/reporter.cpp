#include "engine/reporter.h"

#include <utility>

#include "platform/files.h"

namespace hm {

void Reporter::Report(TraceKind kind, std::string path, double bytes, Outcome outcome,
                      std::uint32_t error, std::string name) {
    if (outcome == Outcome::Removed &&
        (kind == TraceKind::File || kind == TraceKind::DatabaseRows)) {
        tally_.removedBytes += bytes;
    }
    if (outcome == Outcome::Failed) {
        ++tally_.failed;
        if (IsInUseError(error)) {
            ++tally_.inUse;
        }
    }
    if (observer_ == nullptr) {
        return;
    }
    Trace trace;
    trace.kind = kind;
    trace.path = std::move(path);
    trace.name = std::move(name);
    trace.bytes = bytes;
    trace.outcome = outcome;
    trace.error = outcome == Outcome::Removed ? 0 : error;
    observer_->OnTrace(trace);
}

void Reporter::ReportPath(TraceKind kind, std::wstring_view longPath, double bytes,
                          Outcome outcome, std::uint32_t error) {
    if (observer_ == nullptr && outcome != Outcome::Failed) {
        if (outcome == Outcome::Removed && kind == TraceKind::File) {
            tally_.removedBytes += bytes;
        }
        return;
    }
    Report(kind, observer_ == nullptr ? std::string() : files::ToDisplayPath(longPath), bytes,
           outcome, error);
}

void Reporter::LetEventsRun() {
    if (observer_ != nullptr) {
        observer_->OnYield();
    }
    if (letEventsRun_) {
        letEventsRun_();
    }
}

}  // namespace hm

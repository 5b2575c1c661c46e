// The shell changes of the special steps: programs started, the clipboard, the recycle bins and
// the recent-documents list.
#include <utility>

#include "engine/database_cleaning.h"
#include "engine/erase.h"

namespace hm {

std::uint32_t Eraser::Launch(LaunchRequest request) {
    if (!request.whileWaiting) {
        request.whileWaiting = [this] { reporter_.LetEventsRun(); };
    }
    const std::string commandLine = request.commandLine;
    const std::uint32_t error = changes_->Launch(request);
    reporter_.Report(TraceKind::Process, commandLine, 0, OutcomeOf(error), error);
    return error;
}

void Eraser::EmptyClipboard() {
    const std::uint32_t error = changes_->EmptyClipboard();
    reporter_.Report(TraceKind::Clipboard, "clipboard", 0, OutcomeOf(error), error);
}

void Eraser::EmptyRecycleBins() {
    const std::uint32_t error = changes_->EmptyRecycleBins();
    reporter_.Report(TraceKind::RecycleBin, "recycle bins of all drives", 0, OutcomeOf(error),
                     error);
}

void Eraser::ClearRecentDocuments() {
    const std::uint32_t error = changes_->ClearRecentDocuments();
    reporter_.Report(TraceKind::RecentDocuments, "recent documents list", 0, OutcomeOf(error),
                     error);
}

void Eraser::ClearUrlHistory() {
    const std::uint32_t error = changes_->ClearUrlHistory();
    reporter_.Report(TraceKind::UrlHistory, "Internet Explorer URL history", 0, OutcomeOf(error),
                     error);
}

double Eraser::CleanDatabase(const std::string& path, const DatabaseCleaning& cleaning) {
    const DatabaseOutcome outcome = changes_->CleanDatabase(path, cleaning);
    std::uint32_t error = 0;
    if (outcome.status.busy()) {
        error = 33;  // ERROR_LOCK_VIOLATION: another program holds the database
    } else if (!outcome.status.ok()) {
        error = 13;  // ERROR_INVALID_DATA
    }
    const double freed = outcome.bytesBefore > outcome.bytesAfter
                             ? static_cast<double>(outcome.bytesBefore - outcome.bytesAfter)
                             : 0;
    reporter_.Report(TraceKind::DatabaseRows, path, error == 0 ? freed : 0, OutcomeOf(error),
                     error, std::to_string(outcome.rows) + " rows");
    return error == 0 ? freed : 0;
}

}  // namespace hm

// The shell changes of the special steps: programs started, the clipboard, the recycle bins and
// the recent-documents list.
#include <utility>

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

}  // namespace hm

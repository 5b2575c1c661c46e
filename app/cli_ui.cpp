#include "app/cli_ui.h"

#include "app/cli_output.h"
#include "engine/format_rules.h"

namespace hm {
namespace {

const char* KindName(TraceKind kind) {
    switch (kind) {
        case TraceKind::File:
            return "file";
        case TraceKind::Folder:
            return "folder";
        case TraceKind::RegistryKey:
            return "key";
        case TraceKind::RegistryTree:
            return "key tree";
        case TraceKind::RegistryValue:
            return "value";
        case TraceKind::IniSection:
            return "section";
        case TraceKind::RebootDelete:
            return "at reboot";
        case TraceKind::RegistryWrite:
            return "write";
        case TraceKind::Process:
            return "start";
        case TraceKind::Clipboard:
        case TraceKind::RecycleBin:
        case TraceKind::RecentDocuments:
        case TraceKind::UrlHistory:
            return "empty";
    }
    return "?";
}

// Why a preview's entry would stay.
std::string StayNote(const Trace& trace) {
    switch (trace.outcome) {
        case Outcome::Removed:
            return {};
        case Outcome::KeptByRule:
            return "\t(stays: kept by rule)";
        case Outcome::KeptWithContents:
            return "\t(stays: holds items that stay)";
        case Outcome::Failed:
            break;
    }
    return IsInUseError(trace.error) ? "\t(would stay: in use)"
                                     : "\t(would stay: error " + std::to_string(trace.error) + ")";
}

std::string TraceLine(const Trace& trace) {
    std::string line = KindName(trace.kind);
    line += '\t';
    line += trace.path;
    if (!trace.name.empty()) {
        line += '\t';
        line += trace.name;
    }
    if (trace.kind == TraceKind::File || trace.kind == TraceKind::Folder) {
        line += '\t';
        line += NumberText(trace.bytes);
    }
    return line;
}

}  // namespace

void CliUi::Tell(const std::string& text, const std::string& title, MessageIcon) {
    PrintErr((title.empty() ? std::string() : title + ": ") + text + "\n");
}

void CliUi::AddRow(const std::string& label, const std::string& status) {
    currentLabel_ = label;
    // Only the closing row is added with its final (empty) status.
    if (status.empty()) {
        PrintOut(label + "\t\n");
    }
}

void CliUi::SetRowStatus(const std::string& status) { PrintOut(currentLabel_ + "\t" + status + "\n"); }

void CliUi::NoteNotBuilt(const CatalogueItem& item) {
    PrintErr("skipped, not built yet: " + std::string(item.section) + "\\" +
             std::string(item.key) + "\n");
}

void CliUi::OnTrace(const Trace& trace) {
    if (preview_) {
        traces_.push_back(trace);
        return;
    }
    if (trace.outcome == Outcome::Failed) {
        PrintErr("could not remove: " + TraceLine(trace) + " (error " +
                 std::to_string(trace.error) + ")\n");
    }
}

void CliUi::PrintPreviewReport(double registryKeys, double bytes,
                               const std::string& summary) const {
    PrintOut("\nWhat the pass would remove, start or change:\n");
    double trueBytes = 0;
    size_t staying = 0;
    for (const Trace& trace : traces_) {
        std::string line = TraceLine(trace);
        if (!trace.removed()) {
            line += StayNote(trace);
            ++staying;
        } else if (trace.kind == TraceKind::File || trace.kind == TraceKind::Folder) {
            trueBytes += trace.bytes;
        }
        PrintOut(line + "\n");
    }
    PrintOut("\nTotals:\n");
    PrintOut("items found\t" + std::to_string(traces_.size()) + "\n");
    if (staying > 0) {
        PrintOut("items that would stay\t" + std::to_string(staying) + "\n");
    }
    PrintOut("bytes that would go\t" + NumberText(trueBytes) + "\n");
    PrintOut("registry keys counted\t" + NumberText(registryKeys) + "\n");
    PrintOut("bytes counted\t" + NumberText(bytes) + "\n");
    PrintOut(summary + "\n");
}

}  // namespace hm

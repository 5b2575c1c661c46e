#include "app/cli_ui.h"

#include <cmath>
#include <cstdint>

#include <nlohmann/json.hpp>

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
        case TraceKind::DatabaseRows:
            return "rows";
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

// Traces that carry a size: files, folders, and what a database shrank by.
bool HasSize(const Trace& trace) {
    return trace.kind == TraceKind::File || trace.kind == TraceKind::Folder ||
           trace.kind == TraceKind::DatabaseRows;
}

std::string TraceLine(const Trace& trace) {
    std::string line = KindName(trace.kind);
    line += '\t';
    line += trace.path;
    if (!trace.name.empty()) {
        line += '\t';
        line += trace.name;
    }
    if (HasSize(trace)) {
        line += '\t';
        line += NumberText(trace.bytes);
    }
    return line;
}

// JSON names of the kinds and of the reasons a thing stays: fixed words scripts can match.
const char* JsonKind(TraceKind kind) {
    switch (kind) {
        case TraceKind::File:
            return "file";
        case TraceKind::Folder:
            return "folder";
        case TraceKind::RegistryKey:
            return "registryKey";
        case TraceKind::RegistryTree:
            return "registryTree";
        case TraceKind::RegistryValue:
            return "registryValue";
        case TraceKind::RegistryWrite:
            return "registryWrite";
        case TraceKind::IniSection:
            return "iniSection";
        case TraceKind::RebootDelete:
            return "rebootDelete";
        case TraceKind::Process:
            return "process";
        case TraceKind::Clipboard:
            return "clipboard";
        case TraceKind::RecycleBin:
            return "recycleBin";
        case TraceKind::RecentDocuments:
            return "recentDocuments";
        case TraceKind::UrlHistory:
            return "urlHistory";
        case TraceKind::DatabaseRows:
            return "databaseRows";
    }
    return "unknown";
}

const char* JsonReason(const Trace& trace) {
    switch (trace.outcome) {
        case Outcome::Removed:
            return "";
        case Outcome::KeptByRule:
            return "keptByRule";
        case Outcome::KeptWithContents:
            return "keptWithContents";
        case Outcome::Failed:
            break;
    }
    return IsInUseError(trace.error) ? "inUse" : "refused";
}

std::uint64_t WholeBytes(double bytes) {
    return bytes > 0 ? static_cast<std::uint64_t>(std::llround(bytes)) : 0;
}

nlohmann::ordered_json TraceJson(const Trace& trace) {
    nlohmann::ordered_json entry = {{"kind", JsonKind(trace.kind)}, {"path", trace.path}};
    if (!trace.name.empty()) {
        entry["name"] = trace.name;
    }
    if (HasSize(trace)) {
        entry["bytes"] = WholeBytes(trace.bytes);
    }
    if (!trace.removed()) {
        entry["reason"] = JsonReason(trace);
        if (trace.outcome == Outcome::Failed) {
            entry["error"] = trace.error;
        }
    }
    return entry;
}

// One line of JSON in plain ASCII, so that a console code page cannot garble a path; a name the
// system gave as broken UTF-16 comes out with replacement characters instead of failing.
void PrintJsonLine(const nlohmann::ordered_json& object) {
    PrintOut(object.dump(-1, ' ', true, nlohmann::ordered_json::error_handler_t::replace) + "\n");
}

}  // namespace

void CliUi::Tell(const std::string& text, const std::string& title, MessageIcon) {
    PrintErr((title.empty() ? std::string() : title + ": ") + text + "\n");
}

void CliUi::AddRow(const std::string& label, const std::string& status) {
    if (json_) {
        // The closing row carries nothing a script needs: the totals object follows.
        if (!status.empty()) {
            currentLabel_ = label;
            rowTraces_.clear();
        }
        return;
    }
    currentLabel_ = label;
    // Only the closing row is added with its final (empty) status.
    if (status.empty()) {
        PrintOut(label + "\t\n");
    }
}

void CliUi::SetRowStatus(const std::string& status) {
    if (!json_) {
        PrintOut(currentLabel_ + "\t" + status + "\n");
        return;
    }
    nlohmann::ordered_json removed = nlohmann::ordered_json::array();
    nlohmann::ordered_json stayed = nlohmann::ordered_json::array();
    double bytes = 0;
    for (const Trace& trace : rowTraces_) {
        if (trace.removed()) {
            removed.push_back(TraceJson(trace));
            bytes += HasSize(trace) ? trace.bytes : 0;
        } else {
            stayed.push_back(TraceJson(trace));
        }
    }
    PrintJsonLine({{"type", "row"},
                   {"section", section_},
                   {"key", key_},
                   {"label", currentLabel_},
                   {"status", status},
                   {"removed", removed},
                   {"stayed", stayed},
                   {"bytes", WholeBytes(bytes)}});
    ++rows_;
    rowBytes_ += bytes;
    entries_ += static_cast<int>(removed.size());
    staying_ += static_cast<int>(stayed.size());
    rowTraces_.clear();
    section_.clear();
    key_.clear();
}

void CliUi::NoteItem(const std::string& section, const std::string& key) {
    section_ = section;
    key_ = key;
}

void CliUi::NoteNotBuilt(const CatalogueItem& item) {
    PrintErr("skipped, not built yet: " + std::string(item.section) + "\\" +
             std::string(item.key) + "\n");
}

void CliUi::OnTrace(const Trace& trace) {
    if (json_) {
        rowTraces_.push_back(trace);
    } else if (preview_) {
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
        } else if (HasSize(trace)) {
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

void CliUi::PrintJsonTotals(const JsonTotals& totals) const {
    PrintJsonLine({{"type", "totals"},
                   {"mode", preview_ ? "preview" : "clean"},
                   {"items", rows_},
                   {"entries", entries_},
                   {"stayed", staying_},
                   {"bytes", WholeBytes(rowBytes_)},
                   {"registryKeys", WholeBytes(totals.registryKeys)},
                   {"bytesCounted", WholeBytes(totals.bytesCounted)},
                   {"leftovers", totals.leftovers},
                   {"itemsWithLeftovers", totals.itemsWithLeftovers},
                   {"exited", totals.exited},
                   {"exitCode", totals.exitCode}});
}

}  // namespace hm

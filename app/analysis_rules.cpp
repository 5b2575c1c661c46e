#include "app/analysis_rules.h"

#include <algorithm>
#include <cstdio>

namespace hm {
namespace {

constexpr const char* kCleaning = "Cleaning ";

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool PathLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

bool HasSize(TraceKind kind) {
    return kind == TraceKind::File || kind == TraceKind::Folder || kind == TraceKind::DatabaseRows;
}

}  // namespace

AnalysisCounts& AnalysisCounts::operator+=(const AnalysisCounts& other) {
    files += other.files;
    folders += other.folders;
    keys += other.keys;
    values += other.values;
    sections += other.sections;
    databases += other.databases;
    others += other.others;
    staying += other.staying;
    bytes += other.bytes;
    return *this;
}

AnalysisCounts CountTraces(const std::vector<Trace>& traces) {
    AnalysisCounts counts;
    for (const Trace& trace : traces) {
        if (!trace.removed()) {
            ++counts.staying;
            continue;
        }
        switch (trace.kind) {
            case TraceKind::File:
                ++counts.files;
                counts.bytes += trace.bytes;
                break;
            case TraceKind::Folder:
                ++counts.folders;
                counts.bytes += trace.bytes;
                break;
            case TraceKind::RegistryKey:
            case TraceKind::RegistryTree:
                ++counts.keys;
                break;
            case TraceKind::RegistryValue:
                ++counts.values;
                break;
            case TraceKind::IniSection:
                ++counts.sections;
                break;
            case TraceKind::DatabaseRows:
                ++counts.databases;
                counts.bytes += trace.bytes;
                break;
            default:
                ++counts.others;
                break;
        }
    }
    return counts;
}

std::string ByteSizeText(double bytes) {
    char buffer[64];
    if (bytes < 1024) {
        const long long whole = static_cast<long long>(bytes);
        return std::to_string(whole) + (whole == 1 ? " byte" : " bytes");
    }
    if (bytes < 1024.0 * 1024) {
        std::snprintf(buffer, sizeof buffer, "%.1f KB", bytes / 1024);
    } else if (bytes < 1024.0 * 1024 * 1024) {
        std::snprintf(buffer, sizeof buffer, "%.2f MB", bytes / (1024.0 * 1024));
    } else {
        std::snprintf(buffer, sizeof buffer, "%.2f GB", bytes / (1024.0 * 1024 * 1024));
    }
    return buffer;
}

std::string AnalysisListText(const AnalysisCounts& counts) {
    std::vector<std::string> removed;
    if (counts.files > 0) {
        removed.push_back(Counted(counts.files, "file", "files"));
    }
    if (counts.folders > 0) {
        removed.push_back(Counted(counts.folders, "folder", "folders"));
    }
    if (counts.keys > 0) {
        removed.push_back(Counted(counts.keys, "key", "keys"));
    }
    if (counts.values > 0) {
        removed.push_back(Counted(counts.values, "value", "values"));
    }
    if (counts.sections > 0) {
        removed.push_back(Counted(counts.sections, "section", "sections"));
    }
    if (counts.databases > 0) {
        removed.push_back("rows of " + Counted(counts.databases, "database", "databases"));
    }
    if (counts.files > 0 || counts.folders > 0 || counts.databases > 0) {
        removed.push_back(ByteSizeText(counts.bytes));
    }
    std::string text;
    for (size_t index = 0; index < removed.size(); ++index) {
        text += (index == 0 ? "" : ", ") + removed[index];
    }
    const auto add = [&text](const std::string& part) {
        text += (text.empty() ? "" : "; ") + part;
    };
    if (counts.others > 0) {
        add(Counted(counts.others, "other change", "other changes"));
    }
    if (text.empty()) {
        text = "Nothing";
    }
    if (counts.staying > 0) {
        add(std::to_string(counts.staying) + " would stay");
    }
    return text;
}

std::string AnalysisStatusText(const AnalysisCounts& counts) {
    const std::string list = AnalysisListText(counts);
    if (list.rfind("Nothing", 0) == 0) {
        return "Nothing to remove" + list.substr(7);
    }
    const bool removes = counts.files + counts.folders + counts.keys + counts.values +
                             counts.sections + counts.databases >
                         0;
    return removes ? "Would remove " + list : list;
}

std::string TraceKindText(const Trace& trace) {
    std::string kind;
    switch (trace.kind) {
        case TraceKind::File:
            kind = "file";
            break;
        case TraceKind::Folder:
            kind = "folder";
            break;
        case TraceKind::RegistryKey:
            kind = "key";
            break;
        case TraceKind::RegistryTree:
            kind = "key tree";
            break;
        case TraceKind::RegistryValue:
            kind = "value";
            break;
        case TraceKind::RegistryWrite:
            kind = "registry write";
            break;
        case TraceKind::IniSection:
            kind = "section";
            break;
        case TraceKind::RebootDelete:
            kind = "file at restart";
            break;
        case TraceKind::Process:
            kind = "program started";
            break;
        case TraceKind::Clipboard:
            kind = "clipboard";
            break;
        case TraceKind::RecycleBin:
            kind = "recycle bin";
            break;
        case TraceKind::RecentDocuments:
            kind = "recent documents";
            break;
        case TraceKind::UrlHistory:
            kind = "URL history";
            break;
        case TraceKind::DatabaseRows:
            kind = "database rows";
            break;
    }
    switch (trace.outcome) {
        case Outcome::Removed:
            break;
        case Outcome::KeptByRule:
            kind += " (stays: kept by rule)";
            break;
        case Outcome::KeptWithContents:
            kind += " (stays: holds items that stay)";
            break;
        case Outcome::Failed:
            kind += IsInUseError(trace.error)
                        ? std::string(" (would stay: in use)")
                        : " (would stay: error " + std::to_string(trace.error) + ")";
            break;
    }
    return kind;
}

std::string TracePathText(const Trace& trace) {
    if (trace.name.empty()) {
        return trace.path;
    }
    if (trace.kind == TraceKind::IniSection) {
        return trace.path + " [" + trace.name + "]";
    }
    return trace.path + "\\" + trace.name;
}

std::string TraceSizeText(const Trace& trace) {
    return HasSize(trace.kind) ? ByteSizeText(trace.bytes) : std::string();
}

void SortTraces(std::vector<Trace>& traces, TraceColumn column, bool ascending) {
    const auto byPath = [](const Trace& a, const Trace& b) {
        const std::string pathA = TracePathText(a);
        const std::string pathB = TracePathText(b);
        if (PathLess(pathA, pathB) || PathLess(pathB, pathA)) {
            return PathLess(pathA, pathB);
        }
        return pathA < pathB;
    };
    std::stable_sort(traces.begin(), traces.end(), [&](const Trace& a, const Trace& b) {
        const Trace& first = ascending ? a : b;
        const Trace& second = ascending ? b : a;
        switch (column) {
            case TraceColumn::Kind: {
                const std::string kindA = TraceKindText(first);
                const std::string kindB = TraceKindText(second);
                if (kindA != kindB) {
                    return kindA < kindB;
                }
                break;
            }
            case TraceColumn::Size:
                if (first.bytes != second.bytes) {
                    return first.bytes < second.bytes;
                }
                break;
            case TraceColumn::Path:
                break;
        }
        return byPath(first, second);
    });
}

void AnalysisRecorder::Tell(const std::string& text, const std::string& title, MessageIcon icon) {
    window_.Tell(text, title, icon);
}

void AnalysisRecorder::BeginPass() {
    items_.clear();
    window_.BeginPass();
}

// Only the closing row comes with an empty status; every other row is an item's.
void AnalysisRecorder::AddRow(const std::string& label, const std::string& status) {
    if (status.empty()) {
        return;
    }
    items_.push_back({label, {}});
    window_.AddRow(label, "Analyzing " + label + " ......");
}

void AnalysisRecorder::SetCaption(const std::string& text) {
    if (text.rfind(kCleaning, 0) == 0) {
        window_.SetCaption("Analyzing " + text.substr(std::string(kCleaning).size()));
    }
}

void AnalysisRecorder::SetProgress(int value) {
    window_.SetProgress(value);
}

void AnalysisRecorder::PumpEvents() {
    window_.PumpEvents();
}

void AnalysisRecorder::EndPass() {
    window_.EndPass();
}

void AnalysisRecorder::BringToFront() {
    window_.BringToFront();
}

void AnalysisRecorder::NoteNotBuilt(const CatalogueItem& item) {
    window_.NoteNotBuilt(item);
}

void AnalysisRecorder::OnTrace(const Trace& trace) {
    if (!items_.empty()) {
        items_.back().traces.push_back(trace);
    }
}

}  // namespace hm

#include "app/analysis_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hm {
namespace {

Trace Make(TraceKind kind, std::string path, double bytes = 0, Outcome outcome = Outcome::Removed,
           std::string name = {}) {
    Trace trace;
    trace.kind = kind;
    trace.path = std::move(path);
    trace.bytes = bytes;
    trace.outcome = outcome;
    trace.name = std::move(name);
    trace.error = outcome == Outcome::Failed ? 32 : 0;
    return trace;
}

TEST(AnalysisText, CountsWhatWouldGoAndWhatWouldStay) {
    const std::vector<Trace> traces = {
        Make(TraceKind::File, "C:\\a", 1000),
        Make(TraceKind::File, "C:\\b", 48),
        Make(TraceKind::Folder, "C:\\cache", 1048576),
        Make(TraceKind::RegistryTree, "HKEY_CURRENT_USER\\T"),
        Make(TraceKind::RegistryKey, "HKEY_CURRENT_USER\\K"),
        Make(TraceKind::RegistryValue, "HKEY_CURRENT_USER\\K", 0, Outcome::Removed, "v"),
        Make(TraceKind::RecycleBin, ""),
        // What stays adds neither to the counts nor to the size.
        Make(TraceKind::File, "C:\\locked", 5000, Outcome::Failed),
        Make(TraceKind::Folder, "C:\\kept", 7000, Outcome::KeptWithContents),
    };
    const AnalysisCounts counts = CountTraces(traces);
    EXPECT_EQ(counts.bytes, 1049624);
    EXPECT_EQ(AnalysisStatusText(counts),
              "Would remove 2 files, 1 folder, 2 keys, 1 value, 1.00 MB; 1 other change; "
              "2 would stay");

    EXPECT_EQ(AnalysisListText(counts),
              "2 files, 1 folder, 2 keys, 1 value, 1.00 MB; 1 other change; 2 would stay");

    EXPECT_EQ(AnalysisStatusText(CountTraces({})), "Nothing to remove");
    EXPECT_EQ(AnalysisListText(CountTraces({})), "Nothing");
    EXPECT_EQ(AnalysisStatusText(CountTraces({traces[7]})), "Nothing to remove; 1 would stay");
    EXPECT_EQ(AnalysisStatusText(CountTraces({traces[5]})), "Would remove 1 value");
    EXPECT_EQ(AnalysisStatusText(CountTraces({traces[6]})), "1 other change");
    // Totals add up item by item.
    AnalysisCounts total = CountTraces({traces[0]});
    total += CountTraces({traces[1], traces[6]});
    EXPECT_EQ(AnalysisListText(total), "2 files, 1.0 KB; 1 other change");
}

TEST(AnalysisText, SizesPathsAndKinds) {
    EXPECT_EQ(ByteSizeText(0), "0 bytes");
    EXPECT_EQ(ByteSizeText(1), "1 byte");
    EXPECT_EQ(ByteSizeText(1023), "1023 bytes");
    EXPECT_EQ(ByteSizeText(1024), "1.0 KB");
    EXPECT_EQ(ByteSizeText(1048575), "1024.0 KB");
    EXPECT_EQ(ByteSizeText(1258291), "1.20 MB");
    EXPECT_EQ(ByteSizeText(2.2e9), "2.05 GB");

    const Trace value =
        Make(TraceKind::RegistryValue, "HKEY_CURRENT_USER\\K", 0, Outcome::Removed, "v");
    EXPECT_EQ(TracePathText(value), "HKEY_CURRENT_USER\\K\\v");
    EXPECT_EQ(TraceSizeText(value), "");
    const Trace section = Make(TraceKind::IniSection, "C:\\x.ini", 0, Outcome::Removed, "Recent");
    EXPECT_EQ(TracePathText(section), "C:\\x.ini [Recent]");
    EXPECT_EQ(TraceKindText(section), "section");
    EXPECT_EQ(TraceKindText(Make(TraceKind::File, "C:\\f", 1, Outcome::Failed)),
              "file (would stay: in use)");
    EXPECT_EQ(TraceSizeText(Make(TraceKind::Folder, "C:\\d", 2048)), "2.0 KB");
}

std::vector<std::string> Paths(const std::vector<Trace>& traces) {
    std::vector<std::string> paths;
    for (const Trace& trace : traces) {
        paths.push_back(TracePathText(trace));
    }
    return paths;
}

TEST(SortTraces, BySizeOrPathWithThePathBreakingTies) {
    std::vector<Trace> traces = {
        Make(TraceKind::File, "C:\\b", 10),
        Make(TraceKind::File, "C:\\A", 10),
        Make(TraceKind::RegistryKey, "HKEY_CURRENT_USER\\k"),
        Make(TraceKind::File, "c:\\c", 300),
    };
    SortTraces(traces, TraceColumn::Size, false);
    EXPECT_EQ(Paths(traces),
              (std::vector<std::string>{"c:\\c", "C:\\b", "C:\\A", "HKEY_CURRENT_USER\\k"}));
    SortTraces(traces, TraceColumn::Size, true);
    EXPECT_EQ(Paths(traces),
              (std::vector<std::string>{"HKEY_CURRENT_USER\\k", "C:\\A", "C:\\b", "c:\\c"}));
    // Case does not decide the order of paths.
    SortTraces(traces, TraceColumn::Path, true);
    EXPECT_EQ(Paths(traces),
              (std::vector<std::string>{"C:\\A", "C:\\b", "c:\\c", "HKEY_CURRENT_USER\\k"}));
    SortTraces(traces, TraceColumn::Kind, true);
    EXPECT_EQ(Paths(traces),
              (std::vector<std::string>{"C:\\A", "C:\\b", "c:\\c", "HKEY_CURRENT_USER\\k"}));
}

// A stand-in for the window that records what it was told.
class RecordingUi : public PassUi {
public:
    void Tell(const std::string&, const std::string&, MessageIcon) override {}
    void BeginPass() override { rows.clear(); }
    void AddRow(const std::string& label, const std::string& status) override {
        rows.push_back(label + "|" + status);
    }
    void SetRowStatus(const std::string& status) override { rows.push_back("status " + status); }
    void SetCaption(const std::string& text) override { caption = text; }
    void SetProgress(int) override {}
    void PumpEvents() override {}
    void EndPass() override {}
    std::vector<std::string> rows;
    std::string caption;
};

TEST(AnalysisRecorder, FilesEachTraceUnderItsRowAndHoldsBackTheEnginesResults) {
    RecordingUi window;
    AnalysisRecorder recorder(window);
    recorder.BeginPass();
    recorder.AddRow("Firefox Cookies", "Cleaning Firefox Cookies ......");
    recorder.SetCaption("Cleaning Firefox Cookies ......");
    EXPECT_EQ(window.caption, "Analyzing Firefox Cookies ......");
    recorder.OnTrace(Make(TraceKind::File, "C:\\cookies.sqlite", 10));
    recorder.OnTrace(Make(TraceKind::File, "C:\\p2\\cookies.sqlite", 20));
    recorder.SetRowStatus("Done");
    recorder.AddRow("plug-in", "Cleaning plug-in");
    recorder.OnTrace(Make(TraceKind::RegistryKey, "HKEY_CURRENT_USER\\P"));
    recorder.AddRow("Task complete Successfully!", "");
    recorder.SetCaption("Task complete Successfully!");

    EXPECT_EQ(window.rows,
              (std::vector<std::string>{"Firefox Cookies|Analyzing Firefox Cookies ......",
                                        "plug-in|Analyzing plug-in ......"}));
    EXPECT_EQ(window.caption, "Analyzing Firefox Cookies ......");
    ASSERT_EQ(recorder.items().size(), 2u);
    EXPECT_EQ(recorder.items()[0].label, "Firefox Cookies");
    EXPECT_EQ(Paths(recorder.items()[0].traces),
              (std::vector<std::string>{"C:\\cookies.sqlite", "C:\\p2\\cookies.sqlite"}));
    EXPECT_EQ(Paths(recorder.items()[1].traces),
              (std::vector<std::string>{"HKEY_CURRENT_USER\\P"}));
    // A new pass forgets the last.
    recorder.BeginPass();
    EXPECT_TRUE(recorder.items().empty());
}

}  // namespace
}  // namespace hm

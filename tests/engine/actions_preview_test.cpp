// Every kind of action, erase operations and special steps alike, run through the pass's one
// entry point: the preview changes nothing and reports exactly what the real run then does.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/pass_context.h"
#include "support/process.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::TempFolder;

class NoKeepLists : public KeepLists {
public:
    std::vector<std::string> KeptAddresses() override { return {}; }
    std::vector<std::string> KeptCookies() override { return {}; }
};

void SetClipboardText(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

bool ClipboardHoldsText() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
}

// Moves a file of the folder into the recycle bin.
void Recycle(const std::string& file) {
    std::wstring from = std::wstring(file.begin(), file.end()) + L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_EQ(SHFileOperationW(&operation), 0);
}

long long RecycledItems() {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof(info);
    return SUCCEEDED(SHQueryRecycleBinW(nullptr, &info)) ? info.i64NumItems : -1;
}

using Summary = std::vector<std::tuple<int, std::string, std::string, double, int>>;

Summary Summarise(const std::vector<Trace>& traces) {
    Summary summary;
    for (const Trace& trace : traces) {
        summary.emplace_back(static_cast<int>(trace.kind), trace.path, trace.name, trace.bytes,
                             static_cast<int>(trace.outcome));
    }
    std::sort(summary.begin(), summary.end());
    return summary;
}

// Actions hold views of their texts; the list keeps each text in place.
struct ActionSet {
    std::list<std::string> texts;
    std::vector<Action> actions;

    std::string_view Text(std::string text) { return texts.emplace_back(std::move(text)); }
};

ActionSet EveryKind(const TempFolder& dir, const std::string& key) {
    ActionSet set;
    const auto in = [&](const std::string& relative) {
        return FolderRef{BaseFolder::None, set.Text(dir / relative)};
    };
    set.actions = {
        act::DeleteRegKey{kCurrentUser, set.Text(key + "\\Key")},
        act::DeleteRegTree{kCurrentUser, set.Text(key + "\\Tree")},
        act::DeleteRegValue{kCurrentUser, set.Text(key), "v"},
        act::DeleteIniSection{in("p.ini"), "Recent"},
        act::DeleteFolderFiles{in("a")},
        act::DeleteNamedFiles{in("b"), "index.dat"},
        act::DeleteFilesByExtension{in("b"), "tmp"},
        act::DeleteNamedFolders{in("c"), "cache"},
        act::ResetFolder{in("d")},
        act::DeleteFilesInFolder{in("e")},
        act::DeleteNamedFilesInFolder{in("e2"), "x.log"},
        act::DeleteFilesByExtensionInFolder{in("e2"), "log"},
        act::AddToTotals{15, 500000},
        act::Step{StepId::EmptyClipboard},
        act::Step{StepId::EmptyRecycleBin, in("RECYCLED")},
    };
    return set;
}

void Seed(const TempFolder& dir, const std::string& key) {
    test::WriteFileText(dir / "p.ini", "[Recent]\r\nFile1=a\r\n[Other]\r\nx=1\r\n");
    test::WriteFileOfSize(dir / "a\\1", 100);
    test::WriteFileOfSize(dir / "a\\sub\\2", 200);
    test::WriteFileOfSize(dir / "b\\index.dat", 10);
    test::WriteFileOfSize(dir / "b\\s\\INDEX.DAT", 10);
    test::WriteFileOfSize(dir / "b\\s\\t.TMP", 20);
    test::WriteFileOfSize(dir / "c\\x\\Cache\\data", 30);
    test::WriteFileOfSize(dir / "d\\deep\\f", 40);
    test::WriteFileOfSize(dir / "e\\f", 50);
    test::WriteFileOfSize(dir / "e\\ro", 5);
    test::SetAttributes(dir / "e\\ro", FILE_ATTRIBUTE_READONLY);
    test::WriteFileOfSize(dir / "e2\\x.log", 60);
    test::WriteFileOfSize(dir / "e2\\y.LOG", 70);
    test::WriteFileOfSize(dir / "RECYCLED\\old\\file", 80);
    test::SetRegText(key + "\\Key", "v", "1");
    test::CreateKey(key + "\\Tree\\Sub");
    test::SetRegText(key, "v", "1");
    test::WriteFileOfSize(dir / "bin-me.txt", 3);
    Recycle(dir / "bin-me.txt");
    SetClipboardText(L"secret");
}

struct RunResult {
    Counts counts;
    std::vector<Trace> traces;
    std::vector<std::string> statuses;
};

RunResult RunAll(EraseMode mode, const TempFolder& dir, const std::string& key) {
    test::RecordingUi ui;
    SharedValues values;
    Regfun registry(ui);
    FolderResolver folders(values, registry, dir.path());
    NoKeepLists keepLists;
    Eraser eraser(mode, &ui);
    PassContext context{folders, eraser, keepLists, values, registry, ui, dir.path(), {}, "Done"};
    RunResult result;
    const ActionSet set = EveryKind(dir, key);
    for (const Action& action : set.actions) {
        result.counts += Run(action, context);
    }
    result.traces = ui.traces;
    return result;
}

TEST(ActionsPreview, EveryActionKindAndEveryStepPreviewsWhatItDoes) {
    TempFolder dir;
    test::TempRegKey key;
    // The list above holds every kind of action and every special step.
    std::set<size_t> kinds;
    std::set<StepId> steps;
    const ActionSet set = EveryKind(dir, key.subKey());
    for (const Action& action : set.actions) {
        kinds.insert(action.index());
        if (const auto* step = std::get_if<act::Step>(&action)) {
            steps.insert(step->id);
        }
    }
    EXPECT_EQ(kinds.size(), std::variant_size_v<Action>);
    EXPECT_EQ(steps.size(), static_cast<size_t>(kStepCount));

    Seed(dir, key.subKey());
    const std::vector<std::string> tree = test::ListTree(dir.path());
    const std::string registry = test::RegistrySnapshot(key.subKey());
    const std::string ini = test::ReadFileText(dir / "p.ini");
    const long long recycled = RecycledItems();
    ASSERT_GT(recycled, 0);

    const RunResult preview = RunAll(EraseMode::Preview, dir, key.subKey());
    EXPECT_EQ(test::ListTree(dir.path()), tree);
    EXPECT_EQ(test::RegistrySnapshot(key.subKey()), registry);
    EXPECT_EQ(test::ReadFileText(dir / "p.ini"), ini);
    EXPECT_TRUE(ClipboardHoldsText());
    EXPECT_EQ(RecycledItems(), recycled);

    const RunResult erase = RunAll(EraseMode::Erase, dir, key.subKey());
    EXPECT_EQ(erase.counts.registryKeys, preview.counts.registryKeys);
    EXPECT_EQ(erase.counts.bytes, preview.counts.bytes);
    EXPECT_EQ(Summarise(erase.traces), Summarise(preview.traces));
    EXPECT_FALSE(ClipboardHoldsText());
    EXPECT_EQ(RecycledItems(), 0);
    EXPECT_FALSE(test::RegKeyExists(key.subKey() + "\\Tree"));
    EXPECT_FALSE(test::FileExists(dir / "e2\\y.LOG"));
    EXPECT_TRUE(test::FileExists(dir / "e\\ro"));
    // Key 3, tree 5, value 1, the fixed 15 and the recycle bin's 1.
    EXPECT_EQ(erase.counts.registryKeys, 25);
    // The walks count files directly in their folder plus 10000 (a: 100, b: 10, then nothing
    // for the extension and the deeper cache folder); the reset counts the whole tree (40); the
    // single-folder walks count what they select (55, 60, 70, the read-only file included); the
    // fixed 500000; the bin folder's 80 plus 100000.
    EXPECT_EQ(erase.counts.bytes, 10100 + 10010 + 10000 + 10000 + 40 + 55 + 60 + 70 + 500000 +
                                      100080);
}

}  // namespace
}  // namespace hm

// Every kind of action, erase operations and special steps alike, run through the pass's one
// entry point: the preview changes nothing and reports exactly what the real run then does.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <list>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "config/custom_list.h"
#include "engine/normal.h"
#include "engine/pass_context.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/recording_changes.h"
#include "support/process.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::TempFolder;

// The Office keys the Office steps work below, for an Office version "T" that no Office has.
constexpr const char* kOffice = "Software\\Microsoft\\Office\\T";

class FixedKeepLists : public KeepLists {
public:
    explicit FixedKeepLists(std::string keptCookie) : keptCookie_(std::move(keptCookie)) {}
    std::vector<std::string> KeptAddresses() override { return {"http://kept.example/"}; }
    std::vector<std::string> KeptCookies() override { return {keptCookie_}; }

private:
    std::string keptCookie_;
};

std::string ShellFolder(const char* name) {
    test::RecordingMessages messages;
    Regfun registry(messages);
    return UserShellFolder(registry, name);
}

// Points a registry value at a folder of the test, and back at its old text afterwards.
class PointedValue {
public:
    PointedValue(std::string subKey, std::string name, const std::string& text)
        : subKey_(std::move(subKey)), name_(std::move(name)) {
        test::RecordingMessages messages;
        Regfun registry(messages);
        saved_ = registry.GetRegString("HKEY_CURRENT_USER\\" + subKey_, name_);
        test::SetRegText(subKey_, name_, text);
    }
    ~PointedValue() {
        if (saved_ == "Error") {
            RegKey key;
            key.Open(HKEY_CURRENT_USER, subKey_, KEY_SET_VALUE);
            key.DeleteValue(name_);
        } else {
            test::SetRegText(subKey_, name_, saved_);
        }
    }
    PointedValue(const PointedValue&) = delete;
    PointedValue& operator=(const PointedValue&) = delete;

private:
    std::string subKey_;
    std::string name_;
    std::string saved_;
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
        act::NoAction{},
        act::Step{StepId::EmptyClipboard},
        act::Step{StepId::EmptyRecycleBin, in("RECYCLED")},
        act::Step{StepId::ClearDocumentsMenu, in("recent")},
        act::Step{StepId::TempFolders},
        act::Step{StepId::RunAndWait, in("run.bat")},
        act::Step{StepId::TypedUrls, {}, {set.Text(key + "\\Typed")}},
        act::Step{StepId::IeHistory},
        act::Step{StepId::CookieSweep, in("cookies")},
        act::Step{StepId::IeCache, in("iecache")},
        act::Step{StepId::IeAutocomplete},
        act::Step{StepId::IeDownloaded},
        act::Step{StepId::IeDownloadedHistory},
        act::Step{StepId::IeIndex},
        act::Step{StepId::IeInprivate},
        act::Step{StepId::IeAddons},
        act::Step{StepId::IeHistory, {}, {"StoreFirst"}},
        act::Step{StepId::OfficeTree, {BaseFolder::OfficeKeys, "\\Word\\File MRU"}, {"when", "T"}},
        act::Step{StepId::OfficeTree, {BaseFolder::OfficeKeys, "\\Word\\Data"}, {"unless", "T"}},
        act::Step{
            StepId::OfficeValue, {BaseFolder::OfficeKeys, "\\Clip Organizer"}, {"MRUKeywords"}},
        act::Step{StepId::CustomItems},
        // With no profile to find here; todays_browsers_test previews them on real profiles.
        act::Step{StepId::FirefoxRow, {}, {"Firefox", "Cache"}},
        act::Step{StepId::ChromiumRow, {}, {"Chrome", "History"}},
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
    test::WriteFileOfSize(dir / "recent\\x.lnk", 10);
    test::WriteFileOfSize(dir / "recent\\keep.txt", 3);
    test::WriteFileOfSize(dir / "LS\\temp\\t1", 5);
    test::WriteFileOfSize(dir / "win\\temp\\t2", 6);
    test::WriteFileOfSize(dir / "usertemp\\t3", 7);
    test::WriteFileText(dir / "run.bat", "@echo off\r\n");
    test::SetRegText(key + "\\Typed", "url1", "http://typed.example/");
    test::WriteFileOfSize(dir / "cookies\\a.txt", 8);
    test::WriteFileOfSize(dir / "cookies\\keep.txt", 9);
    test::WriteFileOfSize(dir / "iecache\\c", 12);
    test::WriteFileOfSize(dir / "dl1\\f", 13);
    test::WriteFileOfSize(dir / "dl2\\g", 14);
    test::WriteFileOfSize(dir / "appdata\\Microsoft\\Windows\\PrivacIE\\p", 17);
    test::SetRegText(kOffice + std::string("\\Word\\File MRU"), "Item 1", "C:\\a.doc");
    test::SetRegText(kOffice + std::string("\\Word\\Data"), "Settings", "x");
    test::SetRegText(kOffice + std::string("\\Clip Organizer"), "MRUKeywords", "cats");
    test::SetRegText(kOffice + std::string("\\Clip Organizer"), "Other", "stays");
    test::WriteFileOfSize(dir / "mine\\note.txt", 21);
    test::WriteFileOfSize(dir / "mine\\box\\inner.txt", 22);
    test::WriteFileText(CustomListPath(dir.path()), dir / "mine\\note.txt" + "\tFile\r\n" +
                                                        dir / "mine\\box" + "\tFolder\r\n");
}

struct RunResult {
    Counts counts;
    std::vector<Trace> traces;
    std::vector<std::string> statuses;
};

RunResult RunAll(EraseMode mode, const TempFolder& dir, const std::string& key) {
    test::RecordingUi ui;
    SharedValues values;
    values.IEMajorVersion = 9;
    values.LocalAppDataFolder = dir / "LS\\Application Data";
    values.WindowsFolder = dir / "win";
    values.AppDataFolder = dir / "appdata";
    Regfun registry(ui);
    FolderResolver folders(values, registry, dir.path());
    folders.SetOfficeVersion("T");
    FixedKeepLists keepLists(dir / "cookies\\keep.txt");
    // The programs the erasing side would start are only recorded; the preview predicts them.
    auto changes = std::make_unique<test::RecordingChanges>(
        mode == EraseMode::Preview ? MakeDryRunChanges() : MakeRealChanges());
    std::vector<LaunchRequest> launched;
    changes->launches = mode == EraseMode::Erase ? &launched : nullptr;
    Eraser eraser(std::move(changes), &ui);
    PassContext context{folders, eraser,     keepLists,  values, registry,
                        ui,      dir.path(), dir.path(), {},     "Done"};
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
    const std::string profile = EnvironmentValue("USERPROFILE");
    test::WriteFileOfSize(profile + "\\PrivacIE\\index.dat", 16);
    const std::string cookieIndex = ShellFolder("Cookies") + "\\index.dat";
    test::WriteFileOfSize(cookieIndex, 15);
    PointedValue ieDownloads("Software\\Microsoft\\Internet Explorer\\Main",
                             "Default Download Directory", dir / "dl1");
    PointedValue downloads("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                           "{374DE290-123F-4565-9164-39C4925E467B}", dir / "dl2");
    const std::string savedTemp = EnvironmentValue("TEMP");
    SetEnvironmentVariableW(L"TEMP", Widen(dir / "usertemp").c_str());
    const std::vector<std::string> tree = test::ListTree(dir.path());
    const std::string registry = test::RegistrySnapshot(key.subKey());
    const std::string office = test::RegistrySnapshot(kOffice);
    const std::string ini = test::ReadFileText(dir / "p.ini");
    const long long recycled = RecycledItems();
    ASSERT_GT(recycled, 0);

    const RunResult preview = RunAll(EraseMode::Preview, dir, key.subKey());
    EXPECT_EQ(test::ListTree(dir.path()), tree);
    EXPECT_EQ(test::RegistrySnapshot(key.subKey()), registry);
    EXPECT_EQ(test::RegistrySnapshot(kOffice), office);
    EXPECT_EQ(test::ReadFileText(dir / "p.ini"), ini);
    EXPECT_TRUE(ClipboardHoldsText());
    EXPECT_EQ(RecycledItems(), recycled);

    const RunResult erase = RunAll(EraseMode::Erase, dir, key.subKey());
    EXPECT_EQ(erase.counts.registryKeys, preview.counts.registryKeys);
    EXPECT_EQ(erase.counts.bytes, preview.counts.bytes);
    const Summary erased = Summarise(erase.traces);
    const Summary previewed = Summarise(preview.traces);
    Summary onlyErased;
    Summary onlyPreviewed;
    std::set_difference(erased.begin(), erased.end(), previewed.begin(), previewed.end(),
                        std::back_inserter(onlyErased));
    std::set_difference(previewed.begin(), previewed.end(), erased.begin(), erased.end(),
                        std::back_inserter(onlyPreviewed));
    EXPECT_EQ(onlyErased, Summary{});
    EXPECT_EQ(onlyPreviewed, Summary{});
    EXPECT_FALSE(ClipboardHoldsText());
    EXPECT_EQ(RecycledItems(), 0);
    EXPECT_FALSE(test::RegKeyExists(key.subKey() + "\\Tree"));
    EXPECT_FALSE(test::RegKeyExists(kOffice + std::string("\\Word\\File MRU")));
    EXPECT_TRUE(test::RegKeyExists(kOffice + std::string("\\Word\\Data")));
    EXPECT_FALSE(test::RegValueExists(kOffice + std::string("\\Clip Organizer"), "MRUKeywords"));
    EXPECT_TRUE(test::RegValueExists(kOffice + std::string("\\Clip Organizer"), "Other"));
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kOffice).c_str());
    EXPECT_FALSE(test::FileExists(dir / "e2\\y.LOG"));
    EXPECT_TRUE(test::FileExists(dir / "e\\ro"));
    SetEnvironmentVariableW(L"TEMP", Widen(savedTemp).c_str());
    EXPECT_FALSE(test::FileExists(dir / "recent\\x.lnk"));
    EXPECT_TRUE(test::FileExists(dir / "cookies\\keep.txt"));
    EXPECT_TRUE(test::ListTree(dir / "dl2").empty());
    EXPECT_FALSE(test::FileExists(profile + "\\PrivacIE\\index.dat"));
    test::RemoveTree(profile + "\\PrivacIE");
    DeleteFileW(Widen(cookieIndex).c_str());
    // Key 3, tree 5, value 1, the fixed 15 and the recycle bin's 1; then the recent documents'
    // 1, the typed addresses' 3, the history's 15, autocomplete's 3 + 3 + 3 and the add-ons' 15;
    // AOL Explorer's history 15, the Office tree of this version 5 (the other is skipped) and
    // the Office value 1.
    EXPECT_EQ(erase.counts.registryKeys, 25 + 1 + 3 + 15 + 9 + 15 + 15 + 5 + 1);
    // The walks count files directly in their folder plus 10000 (a: 100, b: 10, then nothing
    // for the extension and the deeper cache folder); the reset counts the whole tree (40); the
    // single-folder walks count what they select (55, 60, 70, the read-only file included); the
    // fixed 500000; the bin folder's 80 plus 100000.
    // The special steps: three temp folders (10000 plus their top file each, the resets then
    // empty), the history's fixed amount, the unkept cookie, the cache walk, both download
    // folders, the index files' fixed amount, the in-private files, the add-ons' fixed amount,
    // AOL Explorer's history amount; the user's own file and folder.
    EXPECT_EQ(erase.counts.bytes, 10100 + 10010 + 10000 + 10000 + 40 + 55 + 60 + 70 + 500000 +
                                      100080 + 30018 + 500000 + 8 + 10012 + 27 + 3500000 + 33 +
                                      500000 + 500000 + 21 + 22);
    EXPECT_TRUE(test::ListTree(dir / "mine").empty());
}

}  // namespace
}  // namespace hm

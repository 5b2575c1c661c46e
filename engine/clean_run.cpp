#include "engine/clean_run.h"

#include <utility>

#include "config/inifun.h"
#include "engine/format_rules.h"
#include "engine/tick_rules.h"
#include "platform/files.h"
#include "platform/path_rules.h"

namespace hm {
namespace {

constexpr const char* kDone = "Done";
constexpr const char* kComplete = "Task complete Successfully!";

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// Clears the running flag however the pass ends.
class RunningGuard {
public:
    explicit RunningGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningGuard() { flag_ = false; }
    RunningGuard(const RunningGuard&) = delete;
    RunningGuard& operator=(const RunningGuard&) = delete;

private:
    bool& flag_;
};

}  // namespace

CleanRun::CleanRun(PassUi& ui, SharedValues& values, PassSetup setup)
    : ui_(ui), values_(values), setup_(std::move(setup)) {}

std::string CleanRun::SettingsFile() const {
    return JoinPath(setup_.programFolder, "hushsd.dat");
}

void CleanRun::showstatus(const std::string& label) {
    const std::string text = "Cleaning " + label + " ......";
    CarryOn([&] { ui_.PumpEvents(); });
    CarryOn([&] { ui_.AddRow(label, text); });
    CarryOn([&] { ui_.SetCaption(text); });
}

void CleanRun::CleanNow() {
    if (running_) {
        return;
    }
    RunningGuard guard(running_);

    CarryOn([&] { ui_.BeginPass(); });
    values_.RegistryKeysTotal = 0;
    values_.BytesReleasedTotal = 0;

    Eraser eraser(setup_.mode, setup_.observer);
    for (const CatalogueItem& item : Catalogue()) {
        CarryOn([&] { RunItem(item, eraser); });
        if (item.progress > 0) {
            CarryOn([&] { ui_.SetProgress(item.progress); });
        }
    }
    EndPass();
}

void CleanRun::RunItem(const CatalogueItem& item, Eraser& eraser) {
    if (item.kind == ItemKind::PluginList) {
        // The plug-in steps come with the plug-in item files; until then there is nothing to run.
        return;
    }
    const std::string value = ReadIniValue(SettingsFile(), std::string(item.section),
                                           std::string(item.key));
    if (!IsTicked(item.tick, value)) {
        return;
    }
    if (!item.built) {
        CarryOn([&] { ui_.NoteNotBuilt(item); });
        return;
    }
    showstatus(std::string(item.label));
    // Roots are looked up anew for every item, just before its first action.
    netscapeRoot_.clear();
    for (const Action& action : item.actions) {
        CarryOn([&] { RunAction(action, eraser); });
    }
    CarryOn([&] { ui_.SetRowStatus(kDone); });
}

std::string CleanRun::Resolve(const FolderRef& folder) const {
    switch (folder.base) {
        case BaseFolder::AppData:
            return values_.AppDataFolder + std::string(folder.suffix);
        case BaseFolder::LocalAppData:
            return values_.LocalAppDataFolder + std::string(folder.suffix);
        case BaseFolder::NetscapeProfiles:
            return netscapeRoot_ + std::string(folder.suffix);
    }
    return {};
}

void CleanRun::RunAction(const Action& action, Eraser& eraser) {
    // Every action that starts from the Netscape root needs the root chosen first.
    const auto needsNetscape = [](const FolderRef& folder) {
        return folder.base == BaseFolder::NetscapeProfiles;
    };
    const auto prepare = [&](const FolderRef& folder) {
        if (needsNetscape(folder) && netscapeRoot_.empty()) {
            const std::string nsb = values_.AppDataFolder + "\\Netscape\\NSB\\Profiles";
            netscapeRoot_ = IsFolder(nsb) ? nsb
                                          : values_.AppDataFolder + "\\Netscape\\Navigator\\Profiles";
        }
        return Resolve(folder);
    };
    double& keys = values_.RegistryKeysTotal;
    double& bytes = values_.BytesReleasedTotal;
    std::visit(
        Overloaded{
            [&](const act::DeleteRegKey& a) {
                keys += eraser.DeleteRegKey(a.root, std::string(a.subKey));
            },
            [&](const act::DeleteRegTree& a) {
                keys += eraser.DeleteRegTree(a.root, std::string(a.subKey));
            },
            [&](const act::DeleteRegValue& a) {
                keys += eraser.DeleteRegValue(a.root, std::string(a.subKey), std::string(a.value));
            },
            [&](const act::DeleteIniSection& a) {
                eraser.DeleteIniSection(prepare(a.file), std::string(a.section));
            },
            [&](const act::DeleteFolderFiles& a) {
                bytes += eraser.DeleteFolderFiles(prepare(a.folder));
            },
            [&](const act::DeleteNamedFiles& a) {
                bytes += eraser.DeleteNamedFiles(prepare(a.folder), std::string(a.fileName));
            },
            [&](const act::DeleteFilesByExtension& a) {
                bytes += eraser.DeleteFilesByExtension(prepare(a.folder), std::string(a.extension));
            },
            [&](const act::DeleteNamedFolders& a) {
                bytes += eraser.DeleteNamedFolders(prepare(a.folder), std::string(a.folderName));
            },
            [&](const act::ResetFolder& a) { bytes += eraser.ResetFolder(prepare(a.folder)); },
            [&](const act::DeleteFilesInFolder& a) {
                bytes += eraser.DeleteFilesInFolder(prepare(a.folder));
            },
            [&](const act::DeleteNamedFilesInFolder& a) {
                bytes += eraser.DeleteNamedFilesInFolder(prepare(a.folder), std::string(a.fileName));
            },
            [&](const act::DeleteFilesByExtensionInFolder& a) {
                bytes += eraser.DeleteFilesByExtensionInFolder(prepare(a.folder),
                                                               std::string(a.extension));
            },
            [&](const act::AddToTotals& a) {
                keys += a.registryKeys;
                bytes += a.bytes;
            },
        },
        action);
}

void CleanRun::EndPass() {
    const bool preview = setup_.mode == EraseMode::Preview;
    const std::string settings = SettingsFile();

    if (!preview && ReadIniValue(settings, "Options", "exit") == "1") {
        CarryOn([&] { ui_.ExitProgram(); });
        return;
    }
    CarryOn([&] { ui_.SetProgress(100); });
    CarryOn([&] { ui_.EnableStart(); });
    if (!preview) {
        CarryOn([&] {
            WriteIniValue(settings, "Options", "lastclean", setup_.now ? setup_.now() : NowText());
        });
        CarryOn([&] {
            WriteIniValue(settings, "Options", "regnum", NumberText(values_.RegistryKeysTotal));
        });
        CarryOn([&] {
            WriteIniValue(settings, "Options", "filesize", NumberText(values_.BytesReleasedTotal));
        });
    }
    CarryOn([&] { ui_.RestorePointer(); });
    CarryOn([&] { ui_.AddRow(kComplete, ""); });
    CarryOn([&] { ui_.SetCaption(kComplete); });

    if (values_.BackgroundRun == 1) {
        CarryOn([&] {
            PopupRequest popup;
            popup.title = kAppTitle;
            popup.text = SummaryPopupText(kAppTitle, values_.RegistryKeysTotal,
                                          values_.BytesReleasedTotal);
            popup.key = "www";
            popup.keepSeparate = true;
            popup.clickEnabled = true;
            popup.soundFile = JoinPath(setup_.programFolder, "Sounds\\Message.wav");
            ui_.ShowPopup(popup);
        });
        values_.BackgroundRun = 0;
    } else {
        CarryOn([&] {
            ui_.ShowSummary(SummaryMessageText(values_.RegistryKeysTotal,
                                               values_.BytesReleasedTotal));
        });
    }

    if (preview) {
        return;
    }
    // The home panel shows what the settings file now holds.
    std::string lastClean;
    CarryOn([&] { lastClean = LoadLastPassTotals(settings, values_); });
    CarryOn([&] {
        ui_.ShowHomeTotals(lastClean,
                           TotalsLineText(values_.RegistryKeysTotal, values_.BytesReleasedTotal));
    });
}

std::string LoadLastPassTotals(const std::string& settingsFile, SharedValues& values) {
    const auto number = [&](const char* key) {
        double value = 0;
        return ParseNumber(ReadIniValue(settingsFile, "Options", key), value) ? value : 0.0;
    };
    values.RegistryKeysTotal = number("regnum");
    values.BytesReleasedTotal = number("filesize");
    return ReadIniValue(settingsFile, "Options", "lastclean");
}

}  // namespace hm

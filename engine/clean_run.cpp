#include "engine/clean_run.h"

#include <utility>

#include "config/inifun.h"
#include "engine/format_rules.h"
#include "engine/normal.h"
#include "engine/office_rules.h"
#include "config/plugin_list.h"
#include "config/plugin_rules.h"
#include "engine/pass_context.h"
#include "engine/plugins.h"
#include "engine/tick_rules.h"
#include "engine/winapp2.h"
#include "platform/office_probe.h"
#include "platform/pass_lock.h"
#include "platform/path_rules.h"

namespace hm {
namespace {

constexpr const char* kDone = "Done";
constexpr const char* kComplete = "Task complete Successfully!";

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

std::string SizeText(std::uint64_t bytes) {
    return NumberText(static_cast<double>(bytes)) + " bytes";
}

}  // namespace

CleanRun::CleanRun(PassUi& ui, SharedValues& values, PassSetup setup)
    : ui_(ui), values_(values), setup_(std::move(setup)) {}

std::string CleanRun::SettingsFile() const {
    return setup_.settingsFile.empty() ? JoinPath(DataFolder(), "hushsd.dat") : setup_.settingsFile;
}

std::string CleanRun::DataFolder() const {
    return setup_.dataFolder.empty() ? setup_.programFolder : setup_.dataFolder;
}

void CleanRun::showstatus(const std::string& label) {
    const std::string text = "Cleaning " + label + " ......";
    CarryOn([&] { ui_.PumpEvents(); });
    CarryOn([&] { ui_.AddRow(label, text); });
    CarryOn([&] { ui_.SetCaption(text); });
}

PassResult CleanRun::CleanNow() {
    PassResult result;
    if (running_) {
        result.start = PassStart::Nested;
        return result;
    }
    RunningGuard guard(running_);

    PassLock lock;
    // The lock guards the settings file, so it belongs to the folder that holds it.
    if (!lock.Acquire(DataFolder(), setup_.lockWaitMilliseconds)) {
        result.start = PassStart::Busy;
        return result;
    }
    const IniFileFit settings = CheckIniFile(SettingsFile());
    if (!settings.readable) {
        // Every item would read as unticked: an empty pass that reports success would hide it.
        CarryOn([&] {
            ui_.Tell("The settings file " + SettingsFile() + " cannot be read as a settings file (" +
                         SizeText(settings.size) + "). Nothing was cleaned.",
                     kAppTitle, MessageIcon::Exclamation);
        });
        result.start = PassStart::SettingsTooLarge;
        return result;
    }

    CarryOn([&] { ui_.BeginPass(); });
    values_.RegistryKeysTotal = 0;
    values_.BytesReleasedTotal = 0;

    std::unique_ptr<Changes> changes;
    if (setup_.changes) {
        changes = setup_.changes();
    }
    if (!changes) {
        // "Enable Securely Cleaning" overwrites what the pass deletes; a preview stays the same.
        changes = setup_.mode == EraseMode::Preview
                      ? MakeDryRunChanges()
                      : MakeRealChanges(ReadIniValue(SettingsFile(), "Options", "securely") == "1");
    }
    Eraser eraser(std::move(changes), setup_.observer, [this] { ui_.PumpEvents(); });
    Regfun registry(ui_);
    FolderResolver folders(values_, registry, setup_.programFolder);
    KeepListFiles keepListFiles(DataFolder());
    PassContext context{folders,
                        eraser,
                        setup_.keepLists != nullptr ? *setup_.keepLists : keepListFiles,
                        values_,
                        registry,
                        ui_,
                        setup_.programFolder,
                        DataFolder(),
                        setup_.now ? setup_.now : NowText,
                        kDone};
    WordAutomationProbe wordProbe;
    OfficeProbe& officeProbe = setup_.officeProbe != nullptr ? *setup_.officeProbe : wordProbe;
    bool officeProbed = false;
    for (const CatalogueItem& item : Catalogue()) {
        // Once per pass, right after the last messenger row and whether or not any Office row is
        // ticked: every Office row builds its keys from the version found here.
        if (!officeProbed && item.section == kOfficeSection) {
            officeProbed = true;
            CarryOn([&] {
                folders.SetOfficeVersion(OfficeVersionNumber(GetOfficeVersion(officeProbe)));
            });
        }
        CarryOn([&] { RunItem(item, context, result); });
        if (item.progress > 0) {
            CarryOn([&] { ui_.SetProgress(item.progress); });
        }
    }
    EndPass(result);
    return result;
}

std::string SummaryOf(const PassResult& result) {
    return SummaryMessageText(result.registryKeys, result.bytes);
}

void CleanRun::RunItem(const CatalogueItem& item, PassContext& context, PassResult& result) {
    if (item.kind == ItemKind::PluginList) {
        RunPlugins(context, result);
        // The ticked community rules (winapp2.ini beside the program) follow the plug-ins.
        RunWinapp2Items(context, SettingsFile(), values_, result);
        return;
    }
    const std::string value = ReadIniValue(SettingsFile(), std::string(item.section),
                                           std::string(item.key));
    if (!IsTicked(item.tick, value)) {
        return;
    }
    if (!item.built()) {
        CarryOn([&] { ui_.NoteNotBuilt(item); });
        return;
    }
    CarryOn([&] { ui_.NoteItem(std::string(item.section), std::string(item.key)); });
    showstatus(std::string(item.label));
    context.folders.BeginItem();
    context.eraser.reporter().ResetTally();
    context.result = kDone;
    for (const Action& action : item.actions) {
        CarryOn([&] {
            const Counts counts = Run(action, context);
            values_.RegistryKeysTotal += counts.registryKeys;
            values_.BytesReleasedTotal += counts.bytes;
        });
    }
    const FailureTally& tally = context.eraser.reporter().tally();
    if (tally.failed > 0) {
        result.leftovers += tally.failed;
        ++result.itemsWithLeftovers;
    }
    CarryOn([&] { ui_.SetRowStatus(ItemResultText(context.result, tally.failed, tally.inUse)); });
}

// The switched-on plug-in files, in the order the clean-items dialog lists them; each is one
// row labelled with its name, with fixed amounts on top of what it erased.
void CleanRun::RunPlugins(PassContext& context, PassResult& result) {
    for (const PluginEntry& plugin : ListPlugins(PluginFolder(DataFolder()), kPluginExtension)) {
        if (!plugin.on) {
            continue;
        }
        CarryOn([&] { ui_.NoteItem("(plug-ins)", plugin.appname); });
        CarryOn([&] { ui_.AddRow(plugin.appname, "Cleaning " + plugin.appname); });
        CarryOn([&] { ui_.PumpEvents(); });
        context.eraser.reporter().ResetTally();
        Counts counts;
        // A name that would lead out of the plug-in folder names no file: the row does nothing.
        const std::string file = PluginSwitchFile(DataFolder(), plugin.appname);
        if (!file.empty()) {
            CarryOn([&] { counts = processshell(file, context); });
        }
        values_.RegistryKeysTotal += counts.registryKeys + 1;
        values_.BytesReleasedTotal += counts.bytes + 50000;
        CarryOn([&] { ui_.PumpEvents(); });
        const FailureTally& tally = context.eraser.reporter().tally();
        if (tally.failed > 0) {
            result.leftovers += tally.failed;
            ++result.itemsWithLeftovers;
        }
        CarryOn([&] { ui_.SetRowStatus(ItemResultText(kDone, tally.failed, tally.inUse)); });
    }
}

void CleanRun::EndPass(PassResult& result) {
    const bool preview = setup_.mode == EraseMode::Preview;
    const std::string settings = SettingsFile();
    result.registryKeys = values_.RegistryKeysTotal;
    result.bytes = values_.BytesReleasedTotal;

    // "Exit after cleaning" ends the program at once: the bar stays where the items left it and
    // the last pass's totals keep their earlier values.
    if (!preview && ReadIniValue(settings, "Options", "exit") == "1") {
        result.exited = true;
        return;
    }
    CarryOn([&] { ui_.SetProgress(100); });
    CarryOn([&] { ui_.EndPass(); });
    if (!preview) {
        const IniFileFit fit = CheckIniFile(settings);
        if (fit.writable) {
            CarryOn([&] {
                WriteIniValue(settings, "Options", "lastclean",
                              setup_.now ? setup_.now() : NowText());
            });
            CarryOn([&] {
                WriteIniValue(settings, "Options", "regnum",
                              NumberText(values_.RegistryKeysTotal));
            });
            CarryOn([&] {
                WriteIniValue(settings, "Options", "filesize",
                              NumberText(values_.BytesReleasedTotal));
            });
            result.totalsSaved = true;
        } else {
            CarryOn([&] {
                ui_.Tell("The settings file " + settings + " is too large to be written (" +
                             SizeText(fit.size) + "). The totals of this pass were not saved.",
                         kAppTitle, MessageIcon::Exclamation);
            });
        }
    }
    CarryOn([&] { ui_.AddRow(kComplete, ""); });
    CarryOn([&] { ui_.SetCaption(kComplete); });
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

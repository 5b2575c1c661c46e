#include "regclean/scan_rules.h"

#include <algorithm>
#include <optional>

#include "platform/path_rules.h"
#include "regclean/utf16_rules.h"

namespace hm::regclean {
namespace {

bool IsText(const RegValue& value) {
    return value.type == kRegSz || value.type == kRegExpandSz;
}

// Names with control characters are left alone: the backup could not carry them exactly, and no
// program writes them on purpose.
bool Plain(std::string_view name) {
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::string Join(const std::string& key, std::string_view sub) {
    return key + "\\" + std::string(sub);
}

std::string Reason(TargetKind kind) {
    switch (kind) {
        case TargetKind::RundllLibrary:
            return "the library given to rundll32 is missing";
        case TargetKind::MsiPackage:
            return "the package given to msiexec is missing";
        case TargetKind::File:
            return "the file is missing";
        case TargetKind::Folder:
            return "the folder is missing";
        case TargetKind::Program:
            break;
    }
    return "the program is missing";
}

// "C:\App\app.exe,0" names the file "C:\App\app.exe" and its first icon.
std::string WithoutIconIndex(std::string_view text) {
    text = TrimSpace(text);
    const std::size_t comma = text.rfind(',');
    if (comma != std::string_view::npos && comma + 1 < text.size() &&
        text.find_first_not_of("-0123456789", comma + 1) == std::string_view::npos) {
        text = TrimSpace(text.substr(0, comma));
    }
    return std::string(text);
}

class Scanner {
public:
    Scanner(const ScanScope& scope, RegistryAccess& registry, PathOracle& oracle)
        : scope_(scope), registry_(registry), oracle_(oracle) {}

    std::vector<Finding> Run() {
        std::vector<std::string> roots{scope_.userRoot};
        if (scope_.includeMachine) {
            roots.push_back(scope_.machineRoot);
        }
        for (const std::string& root : roots) {
            for (const std::string& software : SoftwareKeys(root)) {
                SharedDlls(software);
                AppPaths(software);
                RunEntries(software);
                Uninstall(software);
            }
            MuiCache(Join(root, kMuiCacheKey));
            MuiCache(Join(root, kOldMuiCacheKey));
            OpenWithLists(root);
            FileTypes(Join(root, kClassesKey));
        }
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding& a, const Finding& b) {
                             return static_cast<int>(a.category) < static_cast<int>(b.category);
                         });
        return std::move(findings_);
    }

private:
    // The software key and, where it exists, the one 32-bit programs see on 64-bit Windows.
    std::vector<std::string> SoftwareKeys(const std::string& root) {
        std::vector<std::string> keys{Join(root, "Software")};
        if (registry_.KeyExists(Join(root, kWow64Software))) {
            keys.push_back(Join(root, kWow64Software));
        }
        return keys;
    }

    std::vector<RegValue> ValuesOf(const std::string& key) {
        std::vector<RegValue> values;
        registry_.Values(key, values);
        return values;
    }

    std::vector<std::string> SubKeysOf(const std::string& key) {
        std::vector<std::string> names;
        registry_.SubKeys(key, names);
        std::erase_if(names, [](const std::string& name) { return !Plain(name); });
        return names;
    }

    std::optional<RegValue> DefaultValue(const std::string& key) {
        for (RegValue& value : ValuesOf(key)) {
            if (value.name.empty()) {
                return std::move(value);
            }
        }
        return std::nullopt;
    }

    void Add(Category category, const std::string& key, const std::string& value,
             const Verdict& verdict, std::vector<Change> changes, std::string reason = {}) {
        Finding finding;
        finding.category = category;
        finding.key = key;
        finding.value = value;
        finding.pointsAt = verdict.pointsAt;
        finding.reason = reason.empty() ? Reason(verdict.kind) : std::move(reason);
        finding.changes = std::move(changes);
        findings_.push_back(std::move(finding));
    }

    void AddValue(Category category, const std::string& key, const std::string& name,
                  const Verdict& verdict) {
        Add(category, key, name, verdict, {Change{Change::Kind::DeleteValue, key, name}});
    }

    void AddKey(Category category, const std::string& key, const Verdict& verdict,
                std::string reason = {}) {
        Add(category, key, "", verdict, {Change{Change::Kind::DeleteKey, key, ""}},
            std::move(reason));
    }

    // Value names are paths of shared files; the data is a use count.
    void SharedDlls(const std::string& software) {
        const std::string key = Join(software, kSharedDllsKey);
        for (const RegValue& value : ValuesOf(key)) {
            if (value.name.empty() || !Plain(value.name)) {
                continue;
            }
            const Verdict verdict = JudgePath(value.name, oracle_);
            if (verdict.state == PathState::Missing) {
                AddValue(Category::SharedDll, key, value.name, verdict);
            }
        }
    }

    // Each sub-key is a program's file name; its default value the program's full path.
    void AppPaths(const std::string& software) {
        const std::string base = Join(software, kAppPathsKey);
        for (const std::string& name : SubKeysOf(base)) {
            const std::string key = Join(base, name);
            const std::optional<RegValue> path = DefaultValue(key);
            if (!path || !IsText(*path)) {
                continue;
            }
            const Verdict verdict = JudgeCommand(StringDataText(path->data), oracle_);
            if (verdict.state == PathState::Missing) {
                AddKey(Category::AppPath, key, verdict);
            }
        }
    }

    void RunEntries(const std::string& software) {
        const std::string key = Join(software, kRunKey);
        for (const RegValue& value : ValuesOf(key)) {
            if (!IsText(value) || !Plain(value.name)) {
                continue;
            }
            const Verdict verdict = JudgeCommand(StringDataText(value.data), oracle_);
            if (verdict.state == PathState::Missing) {
                AddValue(Category::Run, key, value.name, verdict);
            }
        }
    }

    // Broken only when the uninstaller and the install folder are both gone. Entries that
    // Windows Installer or a parent product manages, and system components, stay: their
    // records live elsewhere too.
    void Uninstall(const std::string& software) {
        const std::string base = Join(software, kUninstallKey);
        for (const std::string& name : SubKeysOf(base)) {
            const std::string key = Join(base, name);
            std::optional<std::string> uninstaller;
            std::string location;
            std::string icon;
            bool managed = false;
            for (const RegValue& value : ValuesOf(key)) {
                const std::string lower = AsciiLower(value.name);
                if (lower == "uninstallstring" && IsText(value)) {
                    uninstaller = StringDataText(value.data);
                } else if (lower == "installlocation" && IsText(value)) {
                    location = std::string(TrimSpace(StringDataText(value.data)));
                } else if (lower == "displayicon" && IsText(value)) {
                    icon = WithoutIconIndex(StringDataText(value.data));
                } else if (lower == "windowsinstaller" || lower == "systemcomponent" ||
                           lower == "parentkeyname") {
                    managed = managed || value.data.find_first_not_of('\0') != std::string::npos;
                }
            }
            if (!uninstaller || managed) {
                continue;
            }
            const Verdict program = JudgeCommand(*uninstaller, oracle_);
            if (program.state != PathState::Missing) {
                continue;
            }
            // Without a recorded install folder, the uninstaller's own folder stands for it.
            const std::string folder =
                location.empty() ? std::string(ParentOf(program.pointsAt)) : location;
            if (folder.empty() ||
                JudgePath(folder, oracle_, TargetKind::Folder).state != PathState::Missing) {
                continue;
            }
            // A program whose icon file is still there may well be installed elsewhere.
            if (!icon.empty() && JudgePath(icon, oracle_).state != PathState::Missing) {
                continue;
            }
            AddKey(Category::Uninstall, key, program,
                   "the uninstaller and the install folder " + folder + " are missing");
        }
    }

    // Value names are program paths, with ".FriendlyAppName" or ".ApplicationCompany" after
    // them on Windows 7 and later. Names starting with "@" are cached resource texts, not
    // programs.
    void MuiCache(const std::string& key) {
        for (const RegValue& value : ValuesOf(key)) {
            std::string_view path = value.name;
            if (path.empty() || path.front() == '@' || !Plain(path) ||
                AsciiLower(path) == "langid") {
                continue;
            }
            for (std::string_view suffix : {".FriendlyAppName", ".ApplicationCompany"}) {
                if (EndsWithText(path, suffix)) {
                    path.remove_suffix(suffix.size());
                    break;
                }
            }
            const Verdict verdict = JudgePath(path, oracle_, TargetKind::Program);
            if (verdict.state == PathState::Missing) {
                AddValue(Category::MuiCache, key, value.name, verdict);
            }
        }
    }

    // The commands a program's file name ("app.exe") stands for when "Open with" names it: its
    // Applications key's verbs and its App Paths entry, user's first, in every hive.
    std::vector<std::string> CommandsFor(std::string_view exe) {
        std::vector<std::string> commands;
        for (const std::string& root : {scope_.userRoot, scope_.machineRoot}) {
            const std::string shell =
                Join(Join(root, kClassesKey), "Applications\\" + std::string(exe) + "\\shell");
            for (const std::string& verb : SubKeysOf(shell)) {
                if (const std::optional<std::string> command = VerbCommand(Join(shell, verb))) {
                    commands.push_back(*command);
                } else if (registry_.KeyExists(Join(Join(shell, verb), "command"))) {
                    commands.push_back("");  // a command this program cannot read: doubt
                }
            }
            for (const std::string& software : SoftwareKeys(root)) {
                const std::string appPath = Join(Join(software, kAppPathsKey), std::string(exe));
                const std::optional<RegValue> path = DefaultValue(appPath);
                if (path && IsText(*path)) {
                    commands.push_back(StringDataText(path->data));
                }
            }
        }
        return commands;
    }

    // Broken when every definition of the name points at a missing program; a name with no
    // definition may still be found on the search path and is left alone.
    std::optional<Verdict> OpenWithVerdict(std::string_view exe) {
        if (exe.empty() || exe.find('\\') != std::string_view::npos) {
            return std::nullopt;
        }
        const std::vector<std::string> commands = CommandsFor(exe);
        std::optional<Verdict> first;
        for (const std::string& command : commands) {
            const Verdict verdict = JudgeCommand(command, oracle_);
            if (verdict.state != PathState::Missing) {
                return std::nullopt;
            }
            first = first ? first : verdict;
        }
        return first;
    }

    void OpenWithLists(const std::string& root) {
        const std::string exts = Join(root, kFileExtsKey);
        for (const std::string& extension : SubKeysOf(exts)) {
            const std::string key = Join(Join(exts, extension), "OpenWithList");
            for (const RegValue& value : ValuesOf(key)) {
                if (value.name.size() != 1 || value.name[0] < 'a' || value.name[0] > 'z' ||
                    !IsText(value)) {
                    continue;
                }
                if (const std::optional<Verdict> verdict =
                        OpenWithVerdict(StringDataText(value.data))) {
                    Add(Category::OpenWith, key, value.name, *verdict,
                        {Change{Change::Kind::DeleteValue, key, value.name},
                         Change{Change::Kind::DropMruLetter, key, value.name}});
                }
            }
        }
        const std::string classes = Join(root, kClassesKey);
        for (const std::string& name : SubKeysOf(classes)) {
            if (name.empty() || name.front() != '.') {
                continue;
            }
            const std::string list = Join(Join(classes, name), "OpenWithList");
            for (const std::string& exe : SubKeysOf(list)) {
                if (const std::optional<Verdict> verdict = OpenWithVerdict(exe)) {
                    AddKey(Category::OpenWith, Join(list, exe), *verdict);
                }
            }
        }
    }

    // The command line of a verb key, or nothing when the verb is carried out some other way
    // (a COM object, or a Windows Installer descriptor that may repair the program).
    std::optional<std::string> VerbCommand(const std::string& verbKey) {
        std::optional<std::string> command;
        for (const RegValue& value : ValuesOf(Join(verbKey, "command"))) {
            if (value.name.empty() && IsText(value)) {
                command = StringDataText(value.data);
            } else if (SameText(value.name, "DelegateExecute") || SameText(value.name, "command")) {
                return std::nullopt;
            }
        }
        return command;
    }

    void Verbs(const std::string& handler) {
        const std::string shell = Join(handler, "shell");
        for (const std::string& verb : SubKeysOf(shell)) {
            const std::string key = Join(shell, verb);
            const std::optional<std::string> command = VerbCommand(key);
            if (!command) {
                continue;
            }
            const Verdict verdict = JudgeCommand(*command, oracle_);
            if (verdict.state == PathState::Missing) {
                AddKey(Category::FileType, key, verdict);
            }
        }
    }

    void FileTypes(const std::string& classes) {
        for (const std::string& name : SubKeysOf(classes)) {
            // Class ids, interfaces and the like hold no file-type verbs at this level.
            if (SameText(name, "CLSID") || SameText(name, "Interface") ||
                SameText(name, "TypeLib") || SameText(name, "Wow6432Node") ||
                SameText(name, "Local Settings")) {
                continue;
            }
            if (SameText(name, "Applications")) {
                for (const std::string& exe : SubKeysOf(Join(classes, name))) {
                    Verbs(Join(Join(classes, name), exe));
                }
                continue;
            }
            Verbs(Join(classes, name));
        }
    }

    const ScanScope& scope_;
    RegistryAccess& registry_;
    PathOracle& oracle_;
    std::vector<Finding> findings_;
};

}  // namespace

std::vector<Finding> Scan(const ScanScope& scope, RegistryAccess& registry, PathOracle& oracle) {
    return Scanner(scope, registry, oracle).Run();
}

}  // namespace hm::regclean

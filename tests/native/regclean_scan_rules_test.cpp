// The registry cleaner's scan on a registry held in a map: per category one broken entry and
// healthy ones that a careless reading would take for broken.
#include "regclean/scan_rules.h"

#include <gtest/gtest.h>

#include <tuple>

#include "regclean_fakes.h"

namespace hm::regclean {
namespace {

using test::MapRegistry;
using test::TableOracle;

const std::string kUser = "HKEY_CURRENT_USER";
const std::string kMachine = "HKEY_LOCAL_MACHINE";
const std::string kUserSoftware = kUser + "\\Software\\";
const std::string kMachineSoftware = kMachine + "\\Software\\";
const std::string kClasses = kUser + "\\Software\\Classes\\";

using Found = std::tuple<Category, std::string, std::string>;

class ScanRules : public ::testing::Test {
protected:
    ScanRules() {
        for (const char* path :
             {"C:\\Program Files\\Tool Kit\\tool.exe", "C:\\Program Files\\Tool Kit\\shared.dll",
              "C:\\Users\\me\\AppData\\Local\\App\\app.exe", "C:\\Libs\\My Lib\\helper.dll",
              "C:\\Program Files\\Tool Kit", "C:\\Program Files\\Half Gone"}) {
            oracle.Add(path);
        }
        Seed();
    }

    void Seed() {
        const std::string dlls = kMachineSoftware + kSharedDllsKey;
        registry.Raw(dlls, "C:\\Program Files\\Tool Kit\\shared.dll", kRegDword,
                     std::string("\1\0\0\0", 4));
        registry.Raw(dlls, "C:\\Program Files\\Gone\\shared.dll", kRegDword,
                     std::string("\1\0\0\0", 4));
        registry.Raw(kMachineSoftware + "WOW6432Node\\" + kSharedDllsKey,
                     "C:\\Windows\\System32\\gone32.dll", kRegDword, std::string("\2\0\0\0", 4));

        const std::string paths = kUserSoftware + kAppPathsKey + "\\";
        registry.Text(paths + "tool.exe", "", "\"C:\\Program Files\\Tool Kit\\tool.exe\"");
        registry.Text(paths + "gone.exe", "", "C:\\Program Files\\Gone\\gone.exe");
        registry.Text(paths + "gone.exe", "Path", "C:\\Program Files\\Gone");
        registry.Text(paths + "gone.exe\\SupportedProtocols", "http", "");
        registry.Text(paths + "nodefault.exe", "Path", "C:\\Gone");
        registry.Text(paths + "bare.exe", "", "bare.exe");

        const std::string run = kUserSoftware + kRunKey;
        registry.Text(run, "Tool", "C:\\Program Files\\Tool Kit\\tool.exe -min");
        registry.Text(run, "Env", "%LOCALAPPDATA%\\App\\app.exe", kRegExpandSz);
        registry.Text(run, "Dll", "rundll32.exe \"C:\\Libs\\My Lib\\helper.dll\",Start");
        registry.Text(run, "Gone", "\"C:\\Program Files\\Gone\\gone.exe\" /background");
        registry.Text(run, "GoneDll", "rundll32 C:\\Gone\\x.dll,Entry");
        registry.Raw(run, "Binary", kRegBinary, "C:\\Gone\\bin.exe");
        registry.Text(kMachineSoftware + kRunKey, "MachineGone", "C:\\Gone\\machine.exe");

        const std::string mui = kUser + "\\" + kMuiCacheKey;
        registry.Text(mui, "C:\\Program Files\\Tool Kit\\tool.exe.FriendlyAppName", "Tool");
        registry.Text(mui, "C:\\Program Files\\Gone\\gone.exe.FriendlyAppName", "Gone");
        registry.Text(mui, "@C:\\Gone\\res.dll,-101", "cached text");
        registry.Text(mui, "LangID", "x");
        registry.Text(kUser + "\\" + kOldMuiCacheKey, "C:\\Gone\\old.exe", "Old");

        const std::string list = kUser + "\\" + kFileExtsKey + "\\.txt\\OpenWithList";
        registry.Text(list, "a", "tool.exe");
        registry.Text(list, "b", "gone.exe");
        registry.Text(list, "c", "unknown.exe");
        registry.Text(list, "d", "gone2.exe");
        registry.Text(list, "MRUList", "dcba");
        registry.Text(kClasses + "Applications\\tool.exe\\shell\\open\\command", "",
                      "\"C:\\Program Files\\Tool Kit\\tool.exe\" \"%1\"");
        registry.Text(kClasses + "Applications\\gone2.exe\\shell\\open\\command", "",
                      "C:\\Gone\\gone2.exe %1");
        registry.CreateKey(kClasses + ".log\\OpenWithList\\gone.exe");
        registry.CreateKey(kClasses + ".log\\OpenWithList\\tool.exe");

        const std::string uninstall = kUserSoftware + kUninstallKey + "\\";
        registry.Text(uninstall + "GoneApp", "UninstallString",
                      "\"C:\\Program Files\\Gone App\\unins000.exe\"");
        registry.Text(uninstall + "GoneApp", "InstallLocation", "C:\\Program Files\\Gone App\\");
        registry.Text(uninstall + "HalfGone", "UninstallString",
                      "C:\\Program Files\\Half Gone\\u.exe");
        registry.Text(uninstall + "HalfGone", "InstallLocation", "C:\\Program Files\\Half Gone");
        registry.Text(uninstall + "MsiApp", "UninstallString",
                      "MsiExec.exe /X{11111111-2222-3333-4444-555555555555}");
        registry.Text(uninstall + "Managed", "UninstallString", "C:\\Gone\\managed.exe");
        registry.Raw(uninstall + "Managed", "WindowsInstaller", kRegDword,
                     std::string("\1\0\0\0", 4));
        registry.Text(uninstall + "NoLocation", "UninstallString",
                      "C:\\Program Files\\Tool Kit\\gone-uninst.exe");
        registry.Text(uninstall + "NoLocationGone", "UninstallString", "C:\\Gone Folder\\u.exe /S");
        registry.Text(uninstall + "IconKept", "UninstallString", "C:\\Gone Cache\\setup.exe /x");
        registry.Text(uninstall + "IconKept", "DisplayIcon",
                      "\"C:\\Program Files\\Tool Kit\\tool.exe\",0");

        registry.Text(kClasses + "toolfile\\shell\\open\\command", "",
                      "\"C:\\Program Files\\Tool Kit\\tool.exe\" \"%1\"");
        registry.Text(kClasses + "gonefile\\shell\\open\\command", "",
                      "C:\\Program Files\\Gone\\gone.exe %1");
        registry.Text(kClasses + "gonefile\\shell\\print\\command", "", "C:\\Gone\\print.exe");
        registry.Text(kClasses + "gonefile\\shell\\print\\command", "DelegateExecute",
                      "{00000000-0000-0000-0000-000000000000}");
        registry.Text(kClasses + "exefile\\shell\\open\\command", "", "\"%1\" %*");
        registry.Text(kClasses + "Directory\\shell\\cmd\\command", "",
                      "cmd.exe /s /k pushd \"%V\"");
        registry.Text(kClasses + "CLSID\\{1}\\shell\\open\\command", "", "C:\\Gone\\clsid.exe");
    }

    std::vector<Found> Run(bool includeMachine) {
        findings = Scan(ScanScope{kUser, kMachine, includeMachine}, registry, oracle);
        std::vector<Found> found;
        for (const Finding& finding : findings) {
            found.emplace_back(finding.category, finding.key, finding.value);
        }
        return found;
    }

    TableOracle oracle;
    MapRegistry registry;
    std::vector<Finding> findings;
};

TEST_F(ScanRules, FindsExactlyTheBrokenEntries) {
    const std::string paths = kUserSoftware + kAppPathsKey + "\\";
    const std::string fileExts = kUser + "\\" + kFileExtsKey + "\\.txt\\OpenWithList";
    const std::vector<Found> expected = {
        {Category::SharedDll, kMachineSoftware + kSharedDllsKey,
         "C:\\Program Files\\Gone\\shared.dll"},
        {Category::SharedDll, kMachineSoftware + "WOW6432Node\\" + kSharedDllsKey,
         "C:\\Windows\\System32\\gone32.dll"},
        {Category::AppPath, paths + "gone.exe", ""},
        {Category::Run, kUserSoftware + kRunKey, "Gone"},
        {Category::Run, kUserSoftware + kRunKey, "GoneDll"},
        {Category::Run, kMachineSoftware + kRunKey, "MachineGone"},
        {Category::MuiCache, kUser + "\\" + kMuiCacheKey,
         "C:\\Program Files\\Gone\\gone.exe.FriendlyAppName"},
        {Category::MuiCache, kUser + "\\" + kOldMuiCacheKey, "C:\\Gone\\old.exe"},
        {Category::OpenWith, fileExts, "b"},
        {Category::OpenWith, fileExts, "d"},
        {Category::OpenWith, kClasses + ".log\\OpenWithList\\gone.exe", ""},
        {Category::Uninstall, kUserSoftware + kUninstallKey + "\\GoneApp", ""},
        {Category::Uninstall, kUserSoftware + kUninstallKey + "\\NoLocationGone", ""},
        {Category::FileType, kClasses + "Applications\\gone2.exe\\shell\\open", ""},
        {Category::FileType, kClasses + "gonefile\\shell\\open", ""},
    };
    std::vector<Found> found = Run(true);
    std::sort(found.begin(), found.end());
    std::vector<Found> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(found, sorted);
}

TEST_F(ScanRules, MachineEntriesOnlyWhenTheScopeIncludesThem) {
    for (const Found& found : Run(false)) {
        EXPECT_EQ(std::get<1>(found).rfind(kMachine, 0), std::string::npos) << std::get<1>(found);
    }
    // The machine's definitions still decide what "Open with" names: a healthy machine-wide
    // definition of gone.exe makes its user entries healthy.
    registry.Text(kMachineSoftware + kAppPathsKey + "\\gone.exe", "",
                  "C:\\Program Files\\Tool Kit\\tool.exe");
    for (const Found& found : Run(false)) {
        EXPECT_NE(std::get<2>(found), "b");
        EXPECT_NE(std::get<1>(found), kClasses + ".log\\OpenWithList\\gone.exe");
    }
}

TEST_F(ScanRules, FindingsSayWhatTheyPointAtAndWhy) {
    Run(true);
    for (const Finding& finding : findings) {
        if (finding.value == "GoneDll") {
            EXPECT_EQ(finding.pointsAt, "C:\\Gone\\x.dll");
            EXPECT_EQ(finding.reason, "the library given to rundll32 is missing");
        }
        // "Open with" names a program by file name: the finding shows what the name stands for.
        if (finding.category == Category::OpenWith && finding.value == "b") {
            EXPECT_EQ(finding.pointsAt, "C:\\Program Files\\Gone\\gone.exe");
        }
    }
}

TEST_F(ScanRules, DoubtAboutAPathKeepsTheEntryOffTheList) {
    // The drive of the missing program cannot be read right now.
    oracle.AddUnknown("C:\\Program Files\\Gone\\gone.exe");
    for (const Found& found : Run(true)) {
        EXPECT_NE(std::get<2>(found), "Gone");
        EXPECT_NE(std::get<1>(found), kUserSoftware + kAppPathsKey + "\\gone.exe");
    }
}

TEST_F(ScanRules, AnUninstallEntryStaysWhileItsFolderExists) {
    oracle.Add("C:\\Program Files\\Gone App");
    for (const Found& found : Run(true)) {
        EXPECT_NE(std::get<1>(found), kUserSoftware + kUninstallKey + "\\GoneApp");
    }
}

TEST(FindingRules, CategoriesLinesAndMruOrders) {
    EXPECT_FALSE(TickedByDefault(Category::Uninstall));
    for (Category category : kCategories) {
        EXPECT_EQ(TickedByDefault(category), category != Category::Uninstall);
        EXPECT_NE(CategoryId(category), "unknown");
    }
    Finding finding;
    finding.category = Category::Run;
    finding.key = "HKEY_CURRENT_USER\\Run";
    finding.value = "a\tb";
    finding.pointsAt = "C:\\x.exe";
    EXPECT_EQ(FindingLine(finding), "run\tHKEY_CURRENT_USER\\Run\ta b\tC:\\x.exe");
    const std::string order = BytesOf(u"dcba") + std::string(2, '\0');
    EXPECT_EQ(MruWithout(order, 'b'), BytesOf(u"dca") + std::string(2, '\0'));
    EXPECT_EQ(MruWithout(order, 'z'), order);
    EXPECT_EQ(BackupFileName(2026, 12, 8, 9, 41, 7, 1), "Registry backup 2026-12-08 09-41-07.reg");
    EXPECT_EQ(BackupFileName(2026, 12, 8, 9, 41, 7, 3),
              "Registry backup 2026-12-08 09-41-07 (3).reg");
}

}  // namespace
}  // namespace hm::regclean

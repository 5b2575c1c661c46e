// Fixing and restoring on a registry held in a map: a fix removes exactly its findings after
// backing them up, and restoring the backup gives the registry back as it was.
#include "regclean/fix_rules.h"

#include <gtest/gtest.h>

#include "regclean_fakes.h"

namespace hm::regclean {
namespace {

using test::MapRegistry;
using test::TableOracle;

const std::string kRun = "HKEY_CURRENT_USER\\Software\\" + std::string(kRunKey);
const std::string kPaths = "HKEY_CURRENT_USER\\Software\\" + std::string(kAppPathsKey);
const std::string kList =
    "HKEY_CURRENT_USER\\" + std::string(kFileExtsKey) + "\\.txt\\OpenWithList";

// Every key with its values in name order: the registry does not promise an order of values.
std::map<std::string, std::vector<RegValue>> Sorted(const MapRegistry& registry) {
    auto keys = registry.keys;
    for (auto& [key, values] : keys) {
        std::sort(values.begin(), values.end(),
                  [](const RegValue& a, const RegValue& b) { return a.name < b.name; });
    }
    return keys;
}

class FixRules : public ::testing::Test {
protected:
    FixRules() {
        oracle.Add("C:\\Tools\\kept.exe");
        registry.Text(kRun, "Kept", "C:\\Tools\\kept.exe");
        registry.Text(kRun, "Gone", "\"C:\\Gone\\gone.exe\" /min");
        registry.Text(kPaths + "\\gone.exe", "", "C:\\Gone\\gone.exe");
        registry.Raw(kPaths + "\\gone.exe", "Count", kRegDword, std::string("\x07\0\0\0", 4));
        registry.Raw(kPaths + "\\gone.exe", "Odd", kRegSz, std::string("C:\0", 3));
        registry.Raw(kPaths + "\\gone.exe\\Deeper\\Empty", "", kRegNone, "");
        registry.keys[kPaths + "\\gone.exe\\Deeper\\Empty"].clear();
        registry.Raw(kPaths + "\\gone.exe\\Deeper", "Multi", kRegMultiSz,
                     BytesOf(std::u16string(u"a\0b\0\0", 5)));
        registry.Text(kPaths + "\\kept.exe", "", "C:\\Tools\\kept.exe");
        registry.Text(kList, "a", "kept.exe");
        registry.Text(kList, "b", "gone.exe");
        registry.Text(kList, "MRUList", "ba");
        findings =
            Scan(ScanScope{"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", false}, registry, oracle);
        before = Sorted(registry);
    }

    TableOracle oracle;
    MapRegistry registry;
    std::vector<Finding> findings;
    std::map<std::string, std::vector<RegValue>> before;
};

TEST_F(FixRules, FixRemovesExactlyTheFindingsAndRestoreGivesEverythingBack) {
    ASSERT_EQ(findings.size(), 3u);  // the App Paths key, the Run value, the "Open with" entry
    const FixPlan plan = PlanFix(findings, registry);
    EXPECT_EQ(plan.fixes, findings);
    EXPECT_TRUE(plan.leftAlone.empty());
    const std::string backup = EncodeRegFile(plan.backup);
    ASSERT_FALSE(backup.empty());

    const FixResult result = ApplyFix(plan, registry);
    EXPECT_EQ(result.fixed.size(), 3u);
    EXPECT_TRUE(result.failed.empty());
    EXPECT_FALSE(registry.KeyExists(kPaths + "\\gone.exe"));
    EXPECT_FALSE(registry.KeyExists(kPaths + "\\gone.exe\\Deeper\\Empty"));
    EXPECT_TRUE(registry.KeyExists(kPaths + "\\kept.exe"));
    std::vector<RegValue> run;
    registry.Values(kRun, run);
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(run[0].name, "Kept");
    std::vector<RegValue> list;
    registry.Values(kList, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "a");
    EXPECT_EQ(list[1], (RegValue{"MRUList", kRegSz, BytesOf(u"a") + std::string(2, '\0')}));

    const RestoreResult restored = RestoreBackup(backup, registry);
    EXPECT_TRUE(restored.ok) << restored.error;
    EXPECT_TRUE(restored.failures.empty());
    EXPECT_EQ(Sorted(registry), before);
}

TEST_F(FixRules, AKeyThatCannotBeReadExactlyIsLeftAlone) {
    registry.unreadable.insert(kPaths + "\\gone.exe\\Deeper");
    const FixPlan plan = PlanFix(findings, registry);
    ASSERT_EQ(plan.leftAlone.size(), 1u);
    EXPECT_EQ(plan.leftAlone[0].key, kPaths + "\\gone.exe");
    EXPECT_EQ(plan.fixes.size(), 2u);
    for (const RegSection& section : plan.backup) {
        EXPECT_EQ(section.key.find("gone.exe"), std::string::npos) << section.key;
    }
    ApplyFix(plan, registry);
    EXPECT_TRUE(registry.KeyExists(kPaths + "\\gone.exe\\Deeper\\Empty"));
}

TEST_F(FixRules, AValueGoneSinceTheScanIsNotFixed) {
    registry.DeleteValue(kRun, "Gone");
    const FixPlan plan = PlanFix(findings, registry);
    ASSERT_EQ(plan.leftAlone.size(), 1u);
    EXPECT_EQ(plan.leftAlone[0].value, "Gone");
}

TEST_F(FixRules, ARefusedChangeIsReportedAsFailed) {
    registry.refused.insert(kRun);
    const FixResult result = ApplyFix(PlanFix(findings, registry), registry);
    ASSERT_EQ(result.failed.size(), 1u);
    EXPECT_EQ(result.failed[0].value, "Gone");
    EXPECT_EQ(result.fixed.size(), 2u);
}

TEST_F(FixRules, RestoreWritesNothingFromAFileItCannotTrust) {
    const std::string outside =
        EncodeRegFile({{"HKEY_CURRENT_USER\\Software\\A", {{"v", kRegSz, BytesOf(u"x")}}},
                       {"HKEY_CLASSES_ROOT\\.txt", {}}});
    RestoreResult result = RestoreBackup(outside, registry);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("HKEY_CLASSES_ROOT"), std::string::npos);
    result = RestoreBackup("not a registry file", registry);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(Sorted(registry), before);
}

}  // namespace
}  // namespace hm::regclean

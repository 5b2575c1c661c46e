// hushmark-cli's registry verbs as their own process, on the sandbox prefix's real hives: the
// test seeds one broken and healthy look-alikes per category into the real locations and
// removes exactly those again. It refuses to start when the prefix has findings of its own,
// so that no fix here can reach anything it did not seed.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/path_rules.h"
#include "seeded_registry.h"
#include "support/process.h"

namespace hm::regclean {
namespace {

using hm::test::ProcessResult;
using test::Expected;

const std::vector<std::string> kWatched = {
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion",
    "HKEY_CURRENT_USER\\Software\\Classes",
    "HKEY_LOCAL_MACHINE\\Software\\" + std::string(kRunKey),
    "HKEY_LOCAL_MACHINE\\Software\\" + std::string(kSharedDllsKey),
};

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos;
         tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::vector<Expected> Listed(const std::string& out) {
    std::vector<Expected> listed;
    for (const std::string& line : hm::test::SplitLines(out)) {
        const std::vector<std::string> fields = Fields(line);
        EXPECT_EQ(fields.size(), 4u) << line;
        if (fields.size() == 4) {
            EXPECT_NE(fields[3], "") << line;
            listed.emplace_back(fields[0], fields[1], fields[2]);
        }
    }
    std::sort(listed.begin(), listed.end());
    return listed;
}

class CliRegistryTest : public ::testing::Test {
protected:
    CliRegistryTest() {
        cli = program / "hushmark-cli.exe";
        const std::string built =
            std::string(ParentOf(hm::test::ExecutableFolder())) + "\\hushmark-cli.exe";
        EXPECT_TRUE(hm::test::CopyFileTo(built, cli)) << built;
    }
    ProcessResult Run(const std::vector<std::string>& args) {
        return hm::test::RunProgram(cli, args);
    }
    void RequireCleanPrefix() {
        const ProcessResult baseline = Run({"regscan"});
        ASSERT_EQ(baseline.exitCode, 0u) << baseline.err;
        ASSERT_EQ(baseline.out, "") << "the sandbox prefix has findings of its own";
    }

    hm::test::TempFolder program;
    hm::test::TempFolder files;
    std::string cli;
};

TEST_F(CliRegistryTest, ScanFixAndRestoreOnTheRealHives) {
    RequireCleanPrefix();
    const test::Snapshot unseeded = test::Take(kWatched);
    {
        test::SeededRegistry seeded("HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", files.path());
        std::vector<Expected> broken = seeded.broken();
        std::sort(broken.begin(), broken.end());
        const test::Snapshot before = test::Take(kWatched);

        const ProcessResult scan = Run({"regscan"});
        EXPECT_EQ(scan.exitCode, 0u);
        EXPECT_EQ(scan.err, "");  // Wine runs as administrator: both hives, no note
        EXPECT_EQ(Listed(scan.out), broken);

        const ProcessResult fix = Run({"regfix"});
        EXPECT_EQ(fix.exitCode, 0u) << fix.err;
        const std::vector<std::string> lines = hm::test::SplitLines(fix.out);
        ASSERT_EQ(lines.size(),
                  broken.size());  // every finding but the uninstall entry, and the backup
        EXPECT_EQ(
            std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) { return line.rfind("removed\t", 0) == 0; }),
            static_cast<long>(broken.size() - 1));
        ASSERT_EQ(
            lines.back().rfind("backup\t" + program.path() + "\\Backups\\Registry backup ", 0), 0u)
            << lines.back();
        const std::string backup = lines.back().substr(7);

        const ProcessResult after = Run({"regscan"});
        ASSERT_EQ(hm::test::SplitLines(after.out).size(), 1u) << after.out;
        EXPECT_EQ(after.out.rfind("uninstall\t", 0), 0u);

        const ProcessResult restore = Run({"regrestore", backup});
        EXPECT_EQ(restore.exitCode, 0u) << restore.err;
        EXPECT_EQ(restore.out.rfind("restored\t", 0), 0u);
        EXPECT_EQ(test::Take(kWatched), before);
        EXPECT_EQ(Listed(Run({"regscan"}).out), broken);
    }
    EXPECT_EQ(test::Take(kWatched), unseeded);
    EXPECT_EQ(Run({"regscan"}).out, "");
}

TEST_F(CliRegistryTest, FixRefusesABackupFileThatExistsAndChangesNothing) {
    RequireCleanPrefix();
    test::SeededRegistry seeded("HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", files.path());
    const test::Snapshot before = test::Take(kWatched);
    hm::test::WriteFileText(program / "old.reg", "keep me");
    const ProcessResult fix = Run({"regfix", "--backup", program / "old.reg"});
    EXPECT_EQ(fix.exitCode, 5u);
    EXPECT_NE(fix.err.find("nothing was changed"), std::string::npos) << fix.err;
    EXPECT_EQ(hm::test::ReadFileText(program / "old.reg"), "keep me");
    EXPECT_EQ(test::Take(kWatched), before);

    const ProcessResult chosen = Run({"regfix", "--backup", program / "chosen.reg"});
    EXPECT_EQ(chosen.exitCode, 0u) << chosen.err;
    EXPECT_NE(chosen.out.find("backup\t" + program / "chosen.reg"), std::string::npos);
    EXPECT_EQ(Run({"regrestore", program / "chosen.reg"}).exitCode, 0u);
    EXPECT_EQ(test::Take(kWatched), before);
}

TEST_F(CliRegistryTest, WrongArgumentsAndFilesThatAreNoBackups) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"regscan", "x"}, {"regfix", "--backup"}, {"regfix", "x"}, {"regrestore"}}) {
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2u) << args.size();
        EXPECT_NE(result.err.find("regrestore FILE"), std::string::npos);
    }
    hm::test::WriteFileText(program / "text.reg", "Windows Registry Editor Version 5.00\r\n");
    EXPECT_EQ(Run({"regrestore", program / "text.reg"}).exitCode, 5u);
    EXPECT_EQ(Run({"regrestore", program / "missing.reg"}).exitCode, 5u);
}

}  // namespace
}  // namespace hm::regclean

// "Enable Securely Cleaning": a pass overwrites every file it deletes, seen from a second hard
// link that outlives the deletion; the rows, the counts and the preview stay as they were.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "config/inifun.h"
#include "engine/clean_run.h"
#include "engine/erase.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"
#include "support/shred_support.h"

namespace hm {
namespace {

using test::TempFolder;

class SecureCleanTest : public ::testing::Test {
protected:
    SecureCleanTest() {
        values.AppDataFolder = home / "Roaming";
        values.LocalAppDataFolder = home / "Local";
        test::MakeFolders(values.AppDataFolder);
        test::MakeFolders(values.LocalAppDataFolder);
        WriteIniValue(Settings(), "FIREFOX", "Cookies", "1");
    }

    std::string Settings() const { return program / "hushsd.dat"; }
    std::string Cookies() const {
        return values.AppDataFolder + "\\Mozilla\\Firefox\\Profiles\\p1\\cookies.sqlite";
    }
    std::string Witness() const { return elsewhere / "cookies-witness"; }

    void Seed() {
        test::WriteFileText(Cookies(), test::SecretText(20000));
        ASSERT_TRUE(test::MakeWitness(Cookies(), Witness()));
    }

    void Run(EraseMode mode = EraseMode::Erase) {
        ui = test::RecordingUi();
        PassSetup setup;
        setup.programFolder = program.path();
        setup.now = [] { return std::string("1/2/2026 3:04:05 PM"); };
        setup.mode = mode;
        setup.observer = &ui;
        CleanRun run(ui, values, setup);
        result = run.CleanNow();
    }

    TempFolder program;
    TempFolder home;
    TempFolder elsewhere;
    SharedValues values;
    test::RecordingUi ui;
    PassResult result;
};

TEST_F(SecureCleanTest, WithTheOptionOffTheContentOutlivesTheDeletion) {
    Seed();
    Run();
    EXPECT_FALSE(test::FileExists(Cookies()));
    // What a recovery tool could find: the deleted file's data, untouched.
    EXPECT_EQ(test::ReadShared(Witness()), test::SecretText(20000));
}

TEST_F(SecureCleanTest, WithTheOptionOnEveryDeletedFileIsOverwrittenFirst) {
    Seed();
    Run();
    const double plainBytes = result.bytes;
    const std::string plainStatus = ui.rows.at(0).status;

    test::RemoveTree(elsewhere.path());
    test::MakeFolders(elsewhere.path());
    Seed();
    WriteIniValue(Settings(), "Options", "securely", "1");
    Run();
    EXPECT_FALSE(test::FileExists(Cookies()));
    const std::string seen = test::ReadShared(Witness());
    EXPECT_GE(seen.size(), 20000u);
    EXPECT_EQ(seen.find(test::kSecret), std::string::npos);
    // Rows and counts are those of the plain pass.
    EXPECT_EQ(result.bytes, plainBytes);
    EXPECT_EQ(ui.rows.at(0).label, "Firefox Cookies");
    EXPECT_EQ(ui.rows.at(0).status, plainStatus);
    EXPECT_EQ(result.leftovers, 0);
}

TEST_F(SecureCleanTest, OnlyTheTextOneSwitchesItOn) {
    Seed();
    WriteIniValue(Settings(), "Options", "securely", "yes");
    Run();
    EXPECT_EQ(test::ReadShared(Witness()), test::SecretText(20000));
}

TEST_F(SecureCleanTest, APreviewWritesNothing) {
    Seed();
    WriteIniValue(Settings(), "Options", "securely", "1");
    Run(EraseMode::Preview);
    EXPECT_TRUE(test::FileExists(Cookies()));
    EXPECT_EQ(test::ReadShared(Cookies()), test::SecretText(20000));
}

TEST_F(SecureCleanTest, AFileInUseIsLeftAloneAsWithoutTheOption) {
    Seed();
    WriteIniValue(Settings(), "Options", "securely", "1");
    test::HeldOpen browser(Cookies());
    ASSERT_TRUE(browser.held());
    Run();
    EXPECT_TRUE(test::FileExists(Cookies()));
    EXPECT_EQ(test::ReadShared(Cookies()), test::SecretText(20000));
    EXPECT_EQ(result.leftovers, 1);
}

// The fixture's tree holds a directory link and file links (listed as plain files under Wine,
// where deleting one by path would delete its target). Overwriting first must not write through
// any of them.
TEST(SecureErase, LinksAreNeverOverwritten) {
    Eraser eraser(MakeRealChanges(true), nullptr);
    eraser.DeleteFolderFiles(test::kShredFixture + "\\engine");
    EXPECT_TRUE(test::PreciousIntact());
    EXPECT_FALSE(test::FileExists(test::kShredFixture + "\\engine\\plain.txt"));
    EXPECT_FALSE(test::FileExists(test::kShredFixture + "\\engine\\sub\\plain.txt"));
}

}  // namespace
}  // namespace hm

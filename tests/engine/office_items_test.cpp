// The Microsoft Office items, run as passes against the sandbox's real registry, with the Office
// version answered by a stand-in for Word.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/items_fixture.h"

namespace hm {
namespace {

constexpr const char* kOffice = "Software\\Microsoft\\Office";
constexpr const char* kWizard = "Software\\Microsoft\\OfficeProfileWizard";
constexpr const char* kFrontPage = "Software\\Microsoft\\FrontPage";
constexpr const char* kViewer = "Software\\Microsoft\\Snapshot Viewer";

// Every list any Office item erases below the versioned key, whichever branch it takes, and a
// key beside them that none erases.
const std::vector<std::string> kVersionedLists = {
    "Word\\File MRU",
    "Word\\Place MRU",
    "Word\\Data",
    "Word\\Recent Templates",
    "Word\\ProjectTemplateLocation",
    "Word\\Options",
    "Excel\\File MRU",
    "Excel\\Place MRU",
    "Excel\\Recent Files",
    "Excel\\Recent Templates",
    "Excel\\ProjectTemplateLocation",
    "PowerPoint\\File MRU",
    "PowerPoint\\Place MRU",
    "PowerPoint\\Recent File List",
    "PowerPoint\\Recent Templates",
    "PowerPoint\\RecentFolderList",
    "PowerPoint\\RecentTemplateList",
    "PowerPoint\\ProjectTemplateLocation",
    "Access\\File MRU",
    "Access\\Place MRU",
    "Access\\Settings",
    "Access\\Internet\\Recent Templates",
    "Publisher\\Recent File List",
    "Publisher\\File MRU",
    "Publisher\\Place MRU",
    "InfoPath\\Recent File List",
    "InfoPath\\Recent Templates",
    "InfoPath\\File MRU",
    "InfoPath\\Place MRU",
    "MS Project\\Recent File List",
    "MS Project\\Recent Templates",
    "MS Project\\ProjectTemplateLocation",
    "MS Project\\File MRU",
    "MS Project\\Place MRU",
    "Visio\\Recent Templates",
    "Visio\\File MRU",
    "Visio\\Place MRU",
    "Clip Organizer\\File MRU",
    "Clip Organizer\\Place MRU",
    "Common\\Open Find\\Microsoft Office Picture Manager\\Settings\\Add Picture Shortcut\\File "
    "Name MRU",
};

const std::vector<std::string> kOlderLists = {
    "Word\\Data",
    "Word\\Recent Templates",
    "Word\\ProjectTemplateLocation",
    "Excel\\Recent Files",
    "Excel\\Recent Templates",
    "Excel\\ProjectTemplateLocation",
    "PowerPoint\\Recent File List",
    "PowerPoint\\Recent Templates",
    "PowerPoint\\RecentFolderList",
    "PowerPoint\\RecentTemplateList",
    "PowerPoint\\ProjectTemplateLocation",
};

const std::vector<std::string> kNewerLists = {
    "Word\\File MRU",   "Word\\Place MRU",      "Excel\\File MRU",
    "Excel\\Place MRU", "PowerPoint\\File MRU", "PowerPoint\\Place MRU",
};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    std::sort(a.begin(), a.end());
    return a;
}

const char* const kItems[] = {"word",      "excel",    "Powerpoint", "FrontPage", "Access",
                              "Publisher", "InfoPath", "Project",    "Visio",     "Organizer",
                              "Settings",  "Picture",  "Viewer"};

class OfficeItemsTest : public test::ItemsTest {
protected:
    OfficeItemsTest() {
        for (const char* key : {kOffice, kWizard, kFrontPage, kViewer}) {
            OwnKey(kCurrentUser, key);
        }
    }

    // The lists of one Office version, its profile wizard's lists, and the fixed lists.
    static void SeedVersion(const std::string& version) {
        const std::string o = std::string(kOffice) + "\\" + version + "\\";
        for (const std::string& list : kVersionedLists) {
            test::SetRegText(o + list, "Item 1", "[F00000000][T01D0000000000000]*C:\\a.doc");
        }
        test::SetRegText(o + "Clip Organizer", "MRUKeywords", "holiday");
        test::SetRegText(o + "Clip Organizer", "Gallery", "stays");
        test::SetRegText(o + "OIS\\Options", "LastTreeConfig", "1");
        test::SetRegText(o + "OIS\\Options", "LastTreeSelection", "C:\\Pictures");
        test::SetRegText(o + "OIS\\Options", "Zoom", "stays");
        for (const char* list : {"RecentFileList", "File MRU", "Place MRU"}) {
            test::SetRegText(std::string(kWizard) + "\\" + version + "\\" + list, "1", "x");
        }
        const std::string fp = std::string(kFrontPage) + "\\Explorer\\FrontPage Explorer\\";
        for (const char* list : {"Recent File List", "Recent Page List", "Recent Web List",
                                 "Recently Created Servers"}) {
            test::SetRegText(fp + list, "1", "http://web.example/");
        }
        test::SetRegText(fp + "Settings", "LastWebOpen", "http://web.example/");
        test::SetRegText(fp + "Settings", "Other", "stays");
        for (const char* list : {"Recent File List", "File MRU", "Place MRU"}) {
            test::SetRegText(std::string(kViewer) + "\\" + list, "1", "C:\\a.snp");
        }
    }

    // The versioned lists of that version still there.
    static std::vector<std::string> Staying(const std::string& version) {
        std::vector<std::string> staying;
        for (const std::string& list : kVersionedLists) {
            if (test::RegKeyExists(std::string(kOffice) + "\\" + version + "\\" + list)) {
                staying.push_back(list);
            }
        }
        std::sort(staying.begin(), staying.end());
        return staying;
    }

    void TickAll() {
        for (const char* key : kItems) {
            Tick("OFFICE", key);
        }
    }
};

struct VersionCase {
    const char* answer;  // the version Word reports; null: Word cannot be started
    const char* seeded;  // the version whose lists the sandbox holds
    std::vector<std::string> staying;
    double registryKeys;
};

// Every item by the version found: the right branch of Word, Excel, PowerPoint and Access, the
// versioned keys of that version only, and the fixed counts of each branch. Without Office, or
// with one the items do not know, the versioned keys of an installed version stay, while the
// fixed lists go and every deletion counts.
TEST_F(OfficeItemsTest, EachVersionErasesItsOwnListsAndCountsItsBranch) {
    const std::vector<std::string> access2007 = {"Access\\File MRU", "Access\\Place MRU"};
    const std::vector<std::string> access2010 = {"Access\\Internet\\Recent Templates",
                                                 "Access\\Settings"};
    const std::vector<VersionCase> cases = {
        {"12.0", "12.0", Join(kOlderLists, Join(access2007, {"Word\\Options"})), 184},
        {"14.0", "14.0", Join(kOlderLists, Join(access2010, {"Word\\Options"})), 184},
        {"11.0", "11.0", Join(kNewerLists, Join(access2007, {"Word\\Options"})), 209},
        {nullptr, "12.0", Join(kVersionedLists, {}), 209},
        {"15.0", "15.0", Join(kVersionedLists, {}), 209},
    };
    TickAll();
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.answer != nullptr ? c.answer : "no Office");
        SeedVersion(c.seeded);
        if (c.answer != nullptr) {
            officeProbe.AnswerVersion(c.answer);
        } else {
            officeProbe.AnswerNoOffice();
        }
        officeProbe.calls = 0;
        Run();
        EXPECT_EQ(officeProbe.calls, 1);
        EXPECT_EQ(result.registryKeys, c.registryKeys);
        EXPECT_EQ(result.bytes, 0);
        EXPECT_EQ(Staying(c.seeded), c.staying);
        const bool known = c.staying != Join(kVersionedLists, {});
        const std::string o = std::string(kOffice) + "\\" + c.seeded;
        EXPECT_EQ(test::RegValueExists(o + "\\Clip Organizer", "MRUKeywords"), !known);
        EXPECT_EQ(test::RegValueExists(o + "\\OIS\\Options", "LastTreeConfig"), !known);
        EXPECT_EQ(test::RegKeyExists(std::string(kWizard) + "\\" + c.seeded + "\\File MRU"),
                  !known);
        EXPECT_TRUE(test::RegValueExists(o + "\\Clip Organizer", "Gallery"));
        EXPECT_TRUE(test::RegValueExists(o + "\\OIS\\Options", "Zoom"));
        // The lists without a version go whatever the version.
        EXPECT_FALSE(test::RegKeyExists(std::string(kFrontPage) +
                                        "\\Explorer\\FrontPage Explorer\\Recent Web List"));
        EXPECT_FALSE(test::RegValueExists(
            std::string(kFrontPage) + "\\Explorer\\FrontPage Explorer\\Settings", "LastWebOpen"));
        EXPECT_TRUE(test::RegValueExists(
            std::string(kFrontPage) + "\\Explorer\\FrontPage Explorer\\Settings", "Other"));
        EXPECT_FALSE(test::RegKeyExists(std::string(kViewer) + "\\Place MRU"));
        ASSERT_EQ(ui.rows.size(), 14u);
        for (size_t i = 0; i + 1 < ui.rows.size(); ++i) {
            EXPECT_EQ(ui.rows[i].status, "Done") << ui.rows[i].label;
        }
    }
}

// The probe runs once per pass, after the last messenger row has set the bar to 48 and before
// the first Office row, whether or not any Office row is ticked; a preview probes too.
TEST_F(OfficeItemsTest, TheVersionIsProbedOnceRightAfterTheMessengers) {
    size_t rowsAtProbe = 0;
    int progressAtProbe = 0;
    officeProbe.onProbe = [&] {
        rowsAtProbe = ui.rows.size();
        progressAtProbe = ui.progress.empty() ? 0 : ui.progress.back();
    };
    Run();
    EXPECT_EQ(officeProbe.calls, 1);
    EXPECT_EQ(progressAtProbe, 48);

    OwnKey(kCurrentUser, "Software\\Microsoft\\Internet Explorer\\LowRegistry");
    Tick("Messenger", "icqsearch");
    Tick("OFFICE", "word");
    officeProbe.AnswerVersion("12.0");
    Run(EraseMode::Preview);
    EXPECT_EQ(officeProbe.calls, 2);
    EXPECT_EQ(rowsAtProbe, 1u);
    EXPECT_EQ(progressAtProbe, 48);
    ASSERT_EQ(ui.rows.size(), 3u);
    EXPECT_EQ(ui.rows[0].label, "ICQ Toolbar search history");
    EXPECT_EQ(ui.rows[1].label, "Microsoft Word");
    EXPECT_EQ(result.registryKeys, 3 + 10);
}

}  // namespace
}  // namespace hm

// The Outlook Express and Windows Live Mail items, run as passes against the sandbox's real
// registry and profile folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/items_fixture.h"

namespace hm {
namespace {

using test::TempFolder;

constexpr const char* kIdentity = "Identities\\{D26D609B-5ED5-4F41-B764-6684674F99A4}";
constexpr const char* kOtherIdentity = "Identities\\{0B1C2D3E-4F50-6172-8394-A5B6C7D8E9F0}";
constexpr const char* kExpress = "\\Software\\Microsoft\\Outlook Express\\5.0";
constexpr const char* kAccounts = "Software\\Microsoft\\Internet Account Manager";
constexpr const char* kLiveMail = "Software\\Microsoft\\Windows Live Mail";
constexpr const char* kWindowsMail = "Software\\Microsoft\\Windows Mail";

std::vector<std::string> Sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

class MailItemsTest : public test::ItemsTest {
protected:
    MailItemsTest() {
        for (const char* key : {"Identities", kAccounts, kLiveMail, kWindowsMail}) {
            OwnKey(kCurrentUser, key);
        }
    }
};

struct Case {
    const char* key;
    std::vector<std::string> gone;
    double bytes;
    double registryKeys;
};

// The mail-store files of every identity, the address books at any depth, the registry lists of
// the one fixed identity; each item's counts.
TEST_F(MailItemsTest, OutlookExpressItemsEraseTheirFilesAndKeys) {
    const std::string identities = values.LocalAppDataFolder + "\\Identities";
    const std::string book = values.AppDataFolder + "\\Microsoft\\Address Book";
    OwnFolder(identities);
    OwnFolder(book);
    const std::string a = identities +
                          "\\{D26D609B-5ED5-4F41-B764-6684674F99A4}\\Microsoft\\"
                          "Outlook Express\\";
    const std::string b = identities +
                          "\\{0B1C2D3E-4F50-6172-8394-A5B6C7D8E9F0}\\Microsoft\\"
                          "Outlook Express\\";
    Seed(a + "Sent Items.dbx", 100);
    Seed(a + "Deleted Items.dbx", 110);
    Seed(a + "Outbox.dbx", 120);
    Seed(a + "Folders.dbx", 130);
    Seed(a + "Inbox.dbx", 140);
    Seed(b + "Sent Items.dbx", 200);
    Seed(b + "Folders.dbx", 210);
    Seed(book + "\\alice.wab", 300);
    Seed(book + "\\backup\\OLD.WAB", 310);
    Seed(book + "\\alice.wab~", 320);
    const std::string fixed = std::string(kIdentity) + kExpress;
    const std::string other = std::string(kOtherIdentity) + kExpress;
    for (const std::string& identity : {fixed, other}) {
        test::SetRegText(identity + "\\Block Senders\\Mail\\Criteria\\0", "Value", "spam.example");
        test::SetRegText(identity + "\\Rules\\Mail\\000", "Name", "to folder");
        test::SetRegText(identity + "\\Rules\\News\\000", "Name", "hide");
        test::SetRegText(identity + "\\signatures\\00000000", "name", "Alice");
    }
    test::SetRegText(std::string(kAccounts) + "\\Accounts\\00000001", "SMTP Server",
                     "smtp.example");
    // The file items count only what lies directly in the folder they are given.
    const std::vector<Case> cases = {
        {"address", {book + "\\alice.wab", book + "\\backup\\OLD.WAB"}, 300 + 10000, 0},
        {"accounts", {}, 0, 5},
        {"deleted", {a + "Deleted Items.dbx"}, 10000, 0},
        {"sent", {a + "Sent Items.dbx", b + "Sent Items.dbx"}, 10000, 0},
        {"outbox", {a + "Outbox.dbx"}, 10000, 0},
        {"blocked", {}, 0, 6},
        {"created", {a + "Folders.dbx", b + "Folders.dbx"}, 10000, 0},
        {"mailrules", {}, 0, 5},
        {"newsrules", {}, 0, 6},
        {"signatures", {}, 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Reseed();
        RunOnly("outlook", c.key);
        EXPECT_EQ(Gone(), Sorted(c.gone));
        EXPECT_EQ(result.bytes, c.bytes);
        EXPECT_EQ(result.registryKeys, c.registryKeys);
        ExpectOneDoneRow();
    }
    EXPECT_FALSE(test::RegKeyExists(kAccounts));
    for (const char* list : {"\\Block Senders", "\\Rules\\Mail", "\\Rules\\News", "\\signatures"}) {
        EXPECT_FALSE(test::RegKeyExists(fixed + list)) << list;
        EXPECT_TRUE(test::RegKeyExists(other + list)) << list;
    }
    EXPECT_TRUE(test::FolderExists(book + "\\backup"));
}

// The Windows Live Mail lists, with the first passport's junk-mail lists only, and the store's
// account files from the folder "Store Root" names as stored.
TEST_F(MailItemsTest, WindowsLiveMailItemsEraseTheirListsAndTheStoresAccounts) {
    const std::string junk = std::string(kLiveMail) + "\\PerPassportSettings\\";
    test::SetRegText(std::string(kLiveMail) + "\\Recent Stationery Wide List", "1", "x.htm");
    test::SetRegText(std::string(kLiveMail) + "\\signatures\\00000000", "name", "Alice");
    for (const char* passport : {"0", "1"}) {
        test::SetRegText(junk + passport + "\\Junk Mail\\Block Senders List", "1", "a.example");
        test::SetRegText(junk + passport + "\\Junk Mail\\Safe Senders List", "1", "b.example");
    }
    test::SetRegText(std::string(kLiveMail) + "\\Rules\\Mail\\000", "Name", "x");
    TempFolder store;
    test::SetRegText(kWindowsMail, "Store Root", "  " + store.path() + " ");
    Seed(store / "top.oeaccount", 70);
    Seed(store / "{0A1B}\\account{5C}.oeaccount", 50);
    Seed(store / "news\\b.OEACCOUNT", 60);
    Seed(store / "Inbox\\m.eml", 80);
    Seed(store / "Inbox\\m.oeaccount.bak", 90);
    for (const char* key :
         {"Recently", "Signatures", "Block", "Safe", "mailrules", "newsrules", "accounts"}) {
        Tick("mail", key);
    }
    Run();
    EXPECT_EQ(result.registryKeys, 25 + 5 * 5);
    EXPECT_EQ(result.bytes, 70 + 10000);
    EXPECT_EQ(Gone(), Sorted({store / "top.oeaccount", store / "{0A1B}\\account{5C}.oeaccount",
                              store / "news\\b.OEACCOUNT"}));
    EXPECT_TRUE(test::FolderExists(store / "{0A1B}"));
    EXPECT_FALSE(test::RegKeyExists(std::string(kLiveMail) + "\\Recent Stationery Wide List"));
    EXPECT_FALSE(test::RegKeyExists(std::string(kLiveMail) + "\\signatures"));
    EXPECT_FALSE(test::RegKeyExists(std::string(kLiveMail) + "\\Rules\\Mail"));
    EXPECT_FALSE(test::RegKeyExists(junk + "0\\Junk Mail\\Block Senders List"));
    EXPECT_FALSE(test::RegKeyExists(junk + "0\\Junk Mail\\Safe Senders List"));
    EXPECT_TRUE(test::RegKeyExists(junk + "1\\Junk Mail\\Block Senders List"));
    EXPECT_TRUE(test::RegKeyExists(junk + "1\\Junk Mail\\Safe Senders List"));
    for (const test::Row& row : ui.rows) {
        if (row.label != "Task complete Successfully!") {
            EXPECT_EQ(row.status, "Done") << row.label;
        }
    }
}

// "Store Root" is used as stored: a value that still holds "%USERPROFILE%", or none at all,
// names no folder, and nothing is deleted anywhere, the current folder included.
TEST_F(MailItemsTest, AStoreRootThatNamesNoFolderDeletesNothing) {
    TempFolder current;
    test::WriteFileOfSize(current / "Error\\a.oeaccount", 5);
    test::WriteFileOfSize(current / "%USERPROFILE%\\Mail\\b.oeaccount", 6);
    test::CurrentFolderGuard guard(current.path());
    const std::vector<std::string> before = test::ListTree(current.path());
    for (const char* stored : {"", "%USERPROFILE%\\Mail"}) {
        SCOPED_TRACE(stored);
        if (*stored != '\0') {
            test::SetRegText(kWindowsMail, "Store Root", stored);
        }
        RunOnly("mail", "accounts");
        EXPECT_EQ(result.bytes, 10000);
        EXPECT_TRUE(ui.traces.empty());
        ExpectOneDoneRow();
        EXPECT_EQ(test::ListTree(current.path()), before);
    }
}

}  // namespace
}  // namespace hm

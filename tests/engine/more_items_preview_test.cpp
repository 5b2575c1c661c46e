// Every item of the other browsers, the messengers, Office and the mail clients in one pass:
// previewed, it changes nothing and foretells exactly what the erasing pass then does.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/catalogue.h"
#include "engine/shared_values.h"
#include "support/items_fixture.h"
#include "support/process.h"

namespace hm {
namespace {

using test::TempFolder;

using Seen = std::vector<std::tuple<int, std::string, std::string, double, int>>;

Seen Summarise(const std::vector<Trace>& traces) {
    Seen seen;
    for (const Trace& t : traces) {
        seen.emplace_back(static_cast<int>(t.kind), t.path, t.name, t.bytes,
                          static_cast<int>(t.outcome));
    }
    std::sort(seen.begin(), seen.end());
    return seen;
}

class MoreItemsPreviewTest : public test::ItemsTest {};

TEST_F(MoreItemsPreviewTest, APreviewOfEveryItemChangesNothingAndForetellsThePass) {
    Regfun registry(messages);
    const std::string personal = UserShellFolder(registry, "Personal");
    const std::string local = values.LocalAppDataFolder;
    const std::string roaming = values.AppDataFolder;
    TempFolder install;
    TempFolder store;
    const std::vector<std::string> folders = {local + "\\Google",
                                              roaming + "\\Apple Computer",
                                              local + "\\AIM",
                                              roaming + "\\ICQ",
                                              personal + "\\ICQ",
                                              local + "\\Identities",
                                              roaming + "\\Microsoft\\Address Book"};
    for (const std::string& folder : folders) {
        OwnFolder(folder);
    }
    const std::vector<std::string> keys = {"Software\\Yahoo", "Software\\Microsoft\\Office",
                                           "Software\\Microsoft\\MSN6", "Identities",
                                           "Software\\Microsoft\\Windows Mail"};
    for (const std::string& key : keys) {
        OwnKey(kCurrentUser, key);
    }
    const char* maxthon = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Maxthon2";
    OwnKey(kLocalMachine, maxthon);
    SetValue(kLocalMachine, maxthon, "InstallLocation", install.path());
    test::SetRegText("Software\\Microsoft\\Windows Mail", "Store Root", store.path());

    Seed(install / "SharedAccount\\Data\\history2.dat", 10);
    // Without a typed-address section: a preview cannot foretell the size a profile file has
    // once a section is gone, which a later item deleting the file would count.
    SeedText(install / "SharedAccount\\Config\\Config.ini", "[Other]\r\nx=1\r\n");
    Seed(install / "SharedAccount\\Downloads\\f.zip", 20);
    Seed(local + "\\Google\\Chrome\\User Data\\Default\\History", 30);
    Seed(local + "\\Google\\Chrome\\User Data\\Default\\Cache\\a\\b", 40);
    Seed(roaming + "\\Apple Computer\\Safari\\History.plist", 50);
    Seed(local + "\\AIM\\aimx.bin", 60);
    Seed(roaming + "\\ICQ\\Application.qdb", 70);
    Seed(personal + "\\ICQ\\1\\ReceivedFiles\\f", 80);
    Seed(local + "\\Identities\\{X}\\Microsoft\\Outlook Express\\Sent Items.dbx", 90);
    Seed(roaming + "\\Microsoft\\Address Book\\a.wab", 100);
    Seed(store / "x\\a.oeaccount", 110);
    test::SetRegText("Software\\Yahoo\\pager", "Auto Login", "1");
    test::SetRegText("Software\\Yahoo\\pager\\profiles\\a", "x", "1");
    test::SetRegText("Software\\Microsoft\\MSN6\\Users", "x", "1");
    test::SetRegText("Software\\Microsoft\\Office\\12.0\\Word\\File MRU", "Item 1", "a.doc");
    test::SetRegText("Software\\Microsoft\\Office\\12.0\\Clip Organizer", "MRUKeywords", "x");
    test::SetRegText(
        "Identities\\{D26D609B-5ED5-4F41-B764-6684674F99A4}\\Software\\Microsoft\\Outlook "
        "Express\\5.0\\Rules\\Mail\\000",
        "Name", "x");

    const std::set<int> groups = {5, 6, 8, 9, 10, 12, 13, 14, 15};
    for (const CatalogueItem& item : Catalogue()) {
        if (groups.count(item.group) != 0) {
            Tick(std::string(item.section), std::string(item.key));
        }
    }
    officeProbe.AnswerVersion("12.0");
    values.IEMajorVersion = 9;

    const auto files = [&] {
        std::vector<std::string> all;
        for (const std::string& folder : folders) {
            const std::vector<std::string> tree = test::ListTree(folder);
            all.insert(all.end(), tree.begin(), tree.end());
        }
        for (const TempFolder* folder : {&install, &store}) {
            const std::vector<std::string> tree = test::ListTree(folder->path());
            all.insert(all.end(), tree.begin(), tree.end());
        }
        return all;
    };
    const auto keysNow = [&] {
        std::string all;
        for (const std::string& key : keys) {
            all += test::RegistrySnapshot(key);
        }
        return all + test::RegistrySnapshot("Software\\Microsoft\\Internet Explorer\\TypedURLs");
    };
    const std::vector<std::string> filesBefore = files();
    const std::string keysBefore = keysNow();

    const PassResult preview = Run(EraseMode::Preview);
    const Seen foretold = Summarise(ui.traces);
    EXPECT_EQ(files(), filesBefore);
    EXPECT_EQ(keysNow(), keysBefore);
    EXPECT_TRUE(launches.empty());
    EXPECT_EQ(officeProbe.calls, 1);

    const PassResult erase = Run();
    EXPECT_EQ(erase.registryKeys, preview.registryKeys);
    EXPECT_EQ(erase.bytes, preview.bytes);
    EXPECT_EQ(Summarise(ui.traces), foretold);
    EXPECT_EQ(Gone().size(), 12u);
    EXPECT_FALSE(test::RegKeyExists("Software\\Microsoft\\Office\\12.0\\Word\\File MRU"));
    EXPECT_FALSE(test::RegKeyExists("Software\\Yahoo\\pager\\profiles"));
}

}  // namespace
}  // namespace hm

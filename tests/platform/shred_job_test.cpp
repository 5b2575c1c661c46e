// Planning and running a shredding job over whole trees: what the confirmation counts is what
// goes, links inside keep their targets, what is in use stays and says why, and a stop stops.
#include "platform/shred_job.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/shred.h"
#include "platform/shred_rules.h"
#include "support/sandbox.h"
#include "support/shred_support.h"

namespace hm {
namespace {

using shred::ItemKind;
using test::TempFolder;

// Only the fixture's "precious" folder is protected here: the tests' own folders lie in the
// sandbox's profile, which the guard of a real run would accept too.
shred::Guard TestGuard() {
    return shred::Guard({{files::ToLongPath(test::kShredPrecious), "a precious folder", true}});
}

std::vector<std::string> KeptPaths(const shred::RunReport& report) {
    std::vector<std::string> kept;
    for (const shred::ItemResult& result : report.results) {
        if (result.error != 0) {
            kept.push_back(result.path + ": " + shred::ReasonText(result.error));
        }
    }
    return kept;
}

TEST(ShredJob, ATreeGoesWithEveryFileItsNamesAndItsFolders) {
    TempFolder area;
    const std::string tree = area / "tree";
    test::WriteFileText(tree + "\\a.txt", test::SecretText(1000));
    test::WriteFileText(tree + "\\sub\\b.txt", test::SecretText(2000));
    test::WriteFileText(tree + "\\sub\\deeper\\c.txt", test::SecretText(30));
    test::WriteFileText(tree + "\\empty\\.keep", "");
    test::SetAttributes(tree + "\\sub\\b.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    test::SetAttributes(tree + "\\sub", FILE_ATTRIBUTE_HIDDEN);
    test::WriteFileText(area / "outside.txt", test::SecretText(10));

    // The tree given twice, and a file inside it given as well: each is planned once.
    const shred::Plan plan =
        shred::MakePlan({tree, tree + "\\sub\\b.txt", tree + "\\"}, TestGuard());
    EXPECT_TRUE(plan.refused.empty());
    EXPECT_EQ(plan.files, 4u);
    EXPECT_EQ(plan.bytes, 3030u);
    EXPECT_EQ(plan.folders, 4u);
    EXPECT_EQ(plan.items.back().kind, ItemKind::Folder);  // the tree itself, last

    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    shred::RunHooks hooks;
    hooks.progress = [&](std::uint64_t done, std::uint64_t total) {
        progress.emplace_back(done, total);
        return true;
    };
    const shred::RunReport report = shred::RunPlan(plan, 1, hooks);
    EXPECT_EQ(KeptPaths(report), std::vector<std::string>{});
    EXPECT_EQ(report.filesShredded, 4u);
    EXPECT_EQ(report.bytesShredded, 3030u);
    EXPECT_FALSE(test::FolderExists(tree));
    EXPECT_EQ(test::ListTree(area.path()), std::vector<std::string>{"outside.txt"});
    ASSERT_FALSE(progress.empty());
    const std::pair<std::uint64_t, std::uint64_t> finished{3030, 3030};
    EXPECT_EQ(progress.back(), finished);
    for (size_t i = 1; i < progress.size(); ++i) {
        EXPECT_LE(progress[i - 1].first, progress[i].first);
    }
}

TEST(ShredJob, WhatIsInUseStaysWithItsFolderAndTheReason) {
    TempFolder area;
    test::WriteFileText(area / "tree\\open.db", test::SecretText(300));
    test::WriteFileText(area / "tree\\closed.db", test::SecretText(300));
    test::HeldOpen browser(area / "tree\\open.db");
    ASSERT_TRUE(browser.held());

    const shred::RunReport report =
        shred::RunPlan(shred::MakePlan({area / "tree"}, TestGuard()), 1, {});
    const std::vector<std::string> expected{area / "tree\\open.db: in use by another program",
                                            area / "tree: something inside it stays"};
    EXPECT_EQ(KeptPaths(report), expected);
    EXPECT_EQ(report.filesShredded, 1u);
    EXPECT_EQ(test::ListTree(area / "tree"), std::vector<std::string>{"open.db"});
    EXPECT_EQ(test::ReadShared(area / "tree\\open.db"), test::SecretText(300));
}

TEST(ShredJob, AStopLeavesTheRestUntouched) {
    TempFolder area;
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) {
        test::WriteFileText(area / std::string("tree\\") + name, test::SecretText(100));
    }
    const shred::Plan plan = shred::MakePlan({area / "tree"}, TestGuard());
    int items = 0;
    shred::RunHooks hooks;
    hooks.itemDone = [&](const shred::ItemResult&) { ++items; };
    hooks.progress = [&](std::uint64_t, std::uint64_t) { return items == 0; };
    const shred::RunReport report = shred::RunPlan(plan, 1, hooks);
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.filesShredded, 1u);
    EXPECT_EQ(report.notStarted, 2u);
    EXPECT_EQ(test::ListTree(area / "tree").size(), 2u);
    EXPECT_TRUE(test::TreeHolds(area / "tree", test::kSecret));
}

TEST(ShredJob, RefusedAndMissingPathsAreNamedAndNothingOfThemIsPlanned) {
    TempFolder area;
    const shred::Plan plan = shred::MakePlan(
        {"relative.txt", area / "missing.txt", test::kShredPrecious + "\\keep.txt"}, TestGuard());
    EXPECT_TRUE(plan.items.empty());
    ASSERT_EQ(plan.refused.size(), 3u);
    EXPECT_EQ(plan.refused[0].reason,
              "it is not a full path (a path relative to the current folder is refused)");
    EXPECT_EQ(plan.refused[1].reason, "not found (it may have been moved or deleted meanwhile)");
    EXPECT_EQ(plan.refused[2].reason, "it is inside a precious folder");
}

// The fixture's tree holds a directory link and two file links (listed as plain files under
// Wine). The plain files go; nothing behind a link is touched.
TEST(ShredJob, LinksInsideAShreddedTreeKeepTheirTargets) {
    const std::string tree = test::kShredFixture + "\\plan";
    const shred::Plan plan = shred::MakePlan({tree}, TestGuard());
    EXPECT_TRUE(plan.refused.empty());
    const shred::RunReport report = shred::RunPlan(plan, 1, {});
    EXPECT_TRUE(test::PreciousIntact());
    EXPECT_FALSE(test::FileExists(tree + "\\plain.txt"));
    EXPECT_FALSE(test::FileExists(tree + "\\sub\\plain.txt"));
    for (const shred::ItemResult& result : report.results) {
        const bool link = result.path.find("link") != std::string::npos ||
                          result.path.find("keep.txt") != std::string::npos;
        if (link) {
            // Where the system cannot remove a link as itself, the link stays, and says why.
            EXPECT_TRUE(result.error == 0 || result.error == files::kErrorLinkNotAddressable)
                << result.path << ": " << result.error;
        }
    }
}

}  // namespace
}  // namespace hm

// For the tests of item groups that work in the sandbox's real profile folders and registry:
// seeds files and keys there, tells which seeded files a pass took, and leaves the sandbox as
// it found it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"
#include "platform/text.h"
#include "support/pass_fixture.h"

namespace hm::test {

class ItemsTest : public PassTest {
protected:
    ~ItemsTest() override {
        for (const auto& [root, subKey] : keys_) {
            RegDeleteTreeW(ToHkey(root), Widen(subKey).c_str());
        }
        for (const std::string& folder : folders_) {
            RemoveTree(folder);
        }
    }

    // A folder or key the test makes and removes at the end, with everything below it. One that
    // is there already belongs to the sandbox: the test refuses to go on rather than remove it.
    void OwnFolder(const std::string& folder) {
        ASSERT_FALSE(FolderExists(folder)) << folder << " is the sandbox's own";
        folders_.push_back(folder);
    }
    void OwnKey(RootKey root, const std::string& subKey) {
        RegKey key;
        ASSERT_NE(key.Open(ToHkey(root), subKey, KEY_READ), ERROR_SUCCESS)
            << subKey << " is the sandbox's own";
        keys_.emplace_back(root, subKey);
    }

    // Writes a string value, making the key if needed, below any root.
    static void SetValue(RootKey root, const std::string& subKey, const std::string& name,
                         const std::string& text) {
        RegKey key;
        ASSERT_EQ(key.Create(ToHkey(root), subKey, KEY_SET_VALUE), ERROR_SUCCESS) << subKey;
        ASSERT_EQ(key.SetString(name, text), ERROR_SUCCESS) << subKey;
    }
    static bool KeyExists(RootKey root, const std::string& subKey) {
        RegKey key;
        return key.Open(ToHkey(root), subKey, KEY_READ) == ERROR_SUCCESS;
    }
    static bool ValueExists(RootKey root, const std::string& subKey, const std::string& name) {
        RegKey key;
        return key.Open(ToHkey(root), subKey, KEY_READ) == ERROR_SUCCESS && key.HasValue(name);
    }

    // A file of the given size, or with the given text, that Gone() then watches.
    void Seed(const std::string& file, std::size_t bytes) {
        SeedText(file, std::string(bytes, 'x'));
    }
    void SeedText(const std::string& file, const std::string& text) {
        WriteFileText(file, text);
        seeded_[file] = text;
    }
    // The seeded files that are no longer there, in path order.
    std::vector<std::string> Gone() const {
        std::vector<std::string> gone;
        for (const auto& [file, text] : seeded_) {
            if (!FileExists(file)) {
                gone.push_back(file);
            }
        }
        return gone;
    }
    // Writes every watched file again, so that the next case starts from the same place.
    void Reseed() {
        for (const auto& [file, text] : seeded_) {
            WriteFileText(file, text);
        }
    }

    // A pass with only this key ticked (other sections and keys unticked).
    void RunOnly(const std::string& section, const std::string& key,
                 EraseMode mode = EraseMode::Erase) {
        DeleteFileW(Widen(Settings()).c_str());
        Tick(section, key);
        Run(mode);
    }

    // The pass showed one item row, which reads "Done", before the closing row.
    void ExpectOneDoneRow() const {
        ASSERT_EQ(ui.rows.size(), 2u);
        EXPECT_EQ(ui.rows[0].status, "Done") << ui.rows[0].label;
    }

private:
    std::vector<std::pair<RootKey, std::string>> keys_;
    std::vector<std::string> folders_;
    std::map<std::string, std::string> seeded_;
};

}  // namespace hm::test

// Changes that go through to a real or dry-run side but never start a program: launches are
// recorded instead, so tests see the command lines. Single calls can be made to fail.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/changes.h"
#include "engine/database_cleaning.h"

namespace hm::test {

class RecordingChanges : public Changes {
public:
    explicit RecordingChanges(std::unique_ptr<Changes> inner) : inner_(std::move(inner)) {}

    // Where launches are recorded instead of made; null lets them through to the inner side.
    std::vector<LaunchRequest>* launches = nullptr;
    std::uint32_t launchError = 0;  // what a launch answers
    std::uint32_t rebootError = 0;  // what scheduling at restart answers

    bool IsGone(std::wstring_view path) const override { return inner_->IsGone(path); }
    bool IsEmptied(std::wstring_view folder) const override { return inner_->IsEmptied(folder); }
    bool IsKeyGone(RootKey root, std::string_view subKey) const override {
        return inner_->IsKeyGone(root, subKey);
    }
    bool IsValueGone(RootKey root, std::string_view subKey, std::string_view value) const override {
        return inner_->IsValueGone(root, subKey, value);
    }
    bool IsSectionGone(std::wstring_view file, std::string_view section) const override {
        return inner_->IsSectionGone(file, section);
    }
    std::uint32_t ClearAttributes(const std::wstring& path) override {
        return inner_->ClearAttributes(path);
    }
    std::uint32_t RemoveFile(const std::wstring& path, bool isLink) override {
        return inner_->RemoveFile(path, isLink);
    }
    std::uint32_t RemoveFolder(const std::wstring& path, bool isLink) override {
        return inner_->RemoveFolder(path, isLink);
    }
    std::uint32_t MakeFolder(const std::wstring& path) override { return inner_->MakeFolder(path); }
    std::uint32_t DeleteAtReboot(const std::wstring& path) override {
        return rebootError != 0 ? rebootError : inner_->DeleteAtReboot(path);
    }
    std::uint32_t DeleteKey(RootKey root, const std::string& subKey) override {
        return inner_->DeleteKey(root, subKey);
    }
    std::uint32_t DeleteTree(RootKey root, const std::string& subKey) override {
        return inner_->DeleteTree(root, subKey);
    }
    std::uint32_t DeleteValue(RootKey root, const std::string& subKey,
                              const std::string& value) override {
        return inner_->DeleteValue(root, subKey, value);
    }
    std::uint32_t CreateKey(RootKey root, const std::string& subKey) override {
        return inner_->CreateKey(root, subKey);
    }
    std::uint32_t SetString(RootKey root, const std::string& subKey, const std::string& name,
                            const std::string& text) override {
        return inner_->SetString(root, subKey, name, text);
    }
    std::uint32_t RemoveIniSection(const std::string& file, const std::string& section) override {
        return inner_->RemoveIniSection(file, section);
    }
    std::uint32_t Launch(const LaunchRequest& request) override {
        if (launches == nullptr) {
            return inner_->Launch(request);
        }
        launches->push_back(request);
        return launchError;
    }
    std::uint32_t EmptyClipboard() override { return inner_->EmptyClipboard(); }
    std::uint32_t EmptyRecycleBins() override { return inner_->EmptyRecycleBins(); }
    std::uint32_t ClearRecentDocuments() override { return inner_->ClearRecentDocuments(); }
    std::uint32_t ClearUrlHistory() override { return inner_->ClearUrlHistory(); }
    DatabaseOutcome CleanDatabase(const std::string& path,
                                  const DatabaseCleaning& cleaning) override {
        return inner_->CleanDatabase(path, cleaning);
    }

private:
    std::unique_ptr<Changes> inner_;
};

}  // namespace hm::test

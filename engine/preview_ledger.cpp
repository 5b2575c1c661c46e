#include "engine/preview_ledger.h"

#include <windows.h>

#include "platform/text.h"

namespace hm {
namespace {

std::wstring Lowered(std::wstring text) {
    if (!text.empty()) {
        CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    }
    return text;
}

std::wstring KeyEntry(RootKey root, std::string_view subKey) {
    return Lowered(Widen(RootKeyName(root) + "\\" + std::string(subKey)));
}

// A value name may hold a backslash; the separator below cannot occur in a key name.
std::wstring ValueEntry(RootKey root, std::string_view subKey, std::string_view value) {
    return KeyEntry(root, subKey) + L'\n' + Lowered(Widen(value));
}

}  // namespace

bool PreviewLedger::Covered(const std::wstring& key, const std::unordered_set<std::wstring>& gone,
                            const std::unordered_set<std::wstring>& emptied) {
    if (gone.empty() && emptied.empty()) {
        return false;
    }
    if (gone.count(key) != 0) {
        return true;
    }
    for (size_t cut = key.find(L'\\'); cut != std::wstring::npos; cut = key.find(L'\\', cut + 1)) {
        const std::wstring above = key.substr(0, cut);
        if (gone.count(above) != 0 || emptied.count(above) != 0) {
            return true;
        }
    }
    return false;
}

bool PreviewLedger::IsGone(std::wstring_view path) const {
    return Covered(std::wstring(path), goneFiles_, emptiedFolders_);
}

bool PreviewLedger::IsEmptied(std::wstring_view folder) const {
    return emptiedFolders_.count(std::wstring(folder)) != 0;
}

void PreviewLedger::MarkGone(std::wstring_view path) {
    goneFiles_.emplace(path);
}

void PreviewLedger::MarkEmptied(std::wstring_view folder) {
    const std::wstring key(folder);
    goneFiles_.erase(key);
    emptiedFolders_.insert(key);
}

bool PreviewLedger::IsKeyGone(RootKey root, std::string_view subKey) const {
    return Covered(KeyEntry(root, subKey), goneKeys_, remadeKeys_);
}

bool PreviewLedger::IsKeyRemade(RootKey root, std::string_view subKey) const {
    return remadeKeys_.count(KeyEntry(root, subKey)) != 0;
}

bool PreviewLedger::IsValueGone(RootKey root, std::string_view subKey,
                                std::string_view value) const {
    const std::wstring entry = ValueEntry(root, subKey, value);
    if (writtenValues_.count(entry) != 0) {
        return false;
    }
    const std::wstring key = KeyEntry(root, subKey);
    return goneValues_.count(entry) != 0 || remadeKeys_.count(key) != 0 ||
           Covered(key, goneKeys_, remadeKeys_);
}

void PreviewLedger::MarkKeyGone(RootKey root, std::string_view subKey) {
    goneKeys_.insert(KeyEntry(root, subKey));
}

void PreviewLedger::MarkKeyRemade(RootKey root, std::string_view subKey) {
    const std::wstring key = KeyEntry(root, subKey);
    goneKeys_.erase(key);
    remadeKeys_.insert(key);
}

void PreviewLedger::MarkValueGone(RootKey root, std::string_view subKey, std::string_view value) {
    const std::wstring entry = ValueEntry(root, subKey, value);
    writtenValues_.erase(entry);
    goneValues_.insert(entry);
}

void PreviewLedger::MarkValueWritten(RootKey root, std::string_view subKey,
                                     std::string_view value) {
    const std::wstring entry = ValueEntry(root, subKey, value);
    goneValues_.erase(entry);
    writtenValues_.insert(entry);
}

bool PreviewLedger::IsSectionGone(std::wstring_view file, std::string_view section) const {
    return IsGone(file) ||
           goneSections_.count(std::wstring(file) + L'\n' + Lowered(Widen(section))) != 0;
}

void PreviewLedger::MarkSectionGone(std::wstring_view file, std::string_view section) {
    goneSections_.insert(std::wstring(file) + L'\n' + Lowered(Widen(section)));
}

}  // namespace hm

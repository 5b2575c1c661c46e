#include "keeplists/url_history.h"

#include <objbase.h>

#include <utility>

#include "platform/text.h"

namespace hm {
namespace {

// Spelled out here rather than taken from an import library, whose contents differ between
// toolchains.
constexpr CLSID kClsidCUrlHistory = {
    0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kIidIUrlHistoryStg = {
    0x3C374A41, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kIidIUrlHistoryStg2 = {
    0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

std::string CopyOf(const wchar_t* text) {
    return text == nullptr ? std::string() : Narrow(text);
}

template <class Interface>
void Release(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

}  // namespace

std::optional<SYSTEMTIME> LocalDateOf(const FILETIME& utc) {
    FILETIME local;
    SYSTEMTIME date;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &date)) {
        return std::nullopt;
    }
    return date;
}

URLHistoryItem::URLHistoryItem(const STATURL& record) noexcept : record_(record) {}

URLHistoryItem::~URLHistoryItem() {
    Free();
}

URLHistoryItem::URLHistoryItem(URLHistoryItem&& other) noexcept : record_(other.record_) {
    other.record_.pwcsUrl = nullptr;
    other.record_.pwcsTitle = nullptr;
}

URLHistoryItem& URLHistoryItem::operator=(URLHistoryItem&& other) noexcept {
    if (this != &other) {
        Free();
        record_ = other.record_;
        other.record_.pwcsUrl = nullptr;
        other.record_.pwcsTitle = nullptr;
    }
    return *this;
}

void URLHistoryItem::Free() noexcept {
    CoTaskMemFree(record_.pwcsTitle);
    CoTaskMemFree(record_.pwcsUrl);
    record_.pwcsTitle = nullptr;
    record_.pwcsUrl = nullptr;
}

std::string URLHistoryItem::URL() const {
    return CopyOf(record_.pwcsUrl);
}

std::string URLHistoryItem::Title() const {
    return CopyOf(record_.pwcsTitle);
}

ComUrlHistoryStore::ComUrlHistoryStore() {
    const HRESULT joined = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // S_FALSE: already joined in this mode; it still counts and must be undone. A thread that
    // chose the other apartment (RPC_E_CHANGED_MODE) can use the object as it is.
    leaveCom_ = SUCCEEDED(joined);
    if (FAILED(joined) && joined != RPC_E_CHANGED_MODE) {
        created_ = joined;
        return;
    }
    void* object = nullptr;
    created_ = CoCreateInstance(kClsidCUrlHistory, nullptr, CLSCTX_INPROC_SERVER,
                                kIidIUrlHistoryStg, &object);
    if (SUCCEEDED(created_)) {
        history_ = static_cast<IUrlHistoryStg*>(object);
    }
}

ComUrlHistoryStore::~ComUrlHistoryStore() {
    Release(history_);
    if (leaveCom_) {
        CoUninitialize();
    }
}

HRESULT ComUrlHistoryStore::Enumerate(const std::string& prefix, std::uint32_t flags,
                                      std::vector<URLHistoryItem>& items) {
    if (history_ == nullptr) {
        return created_;
    }
    IEnumSTATURL* records = nullptr;
    HRESULT result = history_->EnumUrls(&records);
    if (FAILED(result) || records == nullptr) {
        return FAILED(result) ? result : E_POINTER;
    }
    const std::wstring filter = Widen(prefix);
    result = records->SetFilter(filter.c_str(), flags);
    while (SUCCEEDED(result)) {
        STATURL record = {};
        record.cbSize = sizeof(record);
        ULONG fetched = 0;
        result = records->Next(1, &record, &fetched);
        if (result != S_OK || fetched != 1) {
            // S_FALSE or nothing fetched: the end. Anything the enumerator handed out anyway is
            // ours to free.
            URLHistoryItem stray(record);
            break;
        }
        items.emplace_back(record);
    }
    Release(records);
    return FAILED(result) ? result : S_OK;
}

HRESULT ComUrlHistoryStore::Add(const std::string& url, const std::string& title,
                                std::uint32_t flags) {
    if (history_ == nullptr) {
        return created_;
    }
    return history_->AddUrl(Widen(url).c_str(), Widen(title).c_str(), flags);
}

HRESULT ComUrlHistoryStore::Delete(const std::string& url, std::uint32_t flags) {
    if (history_ == nullptr) {
        return created_;
    }
    return history_->DeleteUrl(Widen(url).c_str(), flags);
}

HRESULT ComUrlHistoryStore::Clear() {
    if (history_ == nullptr) {
        return created_;
    }
    IUrlHistoryStg2* history2 = nullptr;
    HRESULT result =
        history_->QueryInterface(kIidIUrlHistoryStg2, reinterpret_cast<void**>(&history2));
    if (SUCCEEDED(result) && history2 != nullptr) {
        result = history2->ClearHistory();
    } else if (SUCCEEDED(result)) {
        result = E_NOINTERFACE;
    }
    Release(history2);
    return result;
}

CURLHistory::CURLHistory(std::unique_ptr<UrlHistoryStore> store) : store_(std::move(store)) {
    created_ = Refresh("", 0);
}

HRESULT CURLHistory::AddURL(const std::string& url, const std::string& title, std::uint32_t flags) {
    return store_->Add(url, title, flags);
}

HRESULT CURLHistory::DeleteURL(const std::string& url, std::uint32_t flags) {
    const HRESULT result = store_->Delete(url, flags);
    return FAILED(result) ? result : Refresh("", 0);
}

HRESULT CURLHistory::Clear() {
    const HRESULT result = store_->Clear();
    return FAILED(result) ? result : Refresh("", 0);
}

HRESULT CURLHistory::Refresh(const std::string& prefix, std::uint32_t flags) {
    std::vector<URLHistoryItem> snapshot;
    const HRESULT result = store_->Enumerate(prefix, flags, snapshot);
    if (SUCCEEDED(result)) {
        items_ = std::move(snapshot);
    }
    return result;
}

const URLHistoryItem* CURLHistory::Item(int index) const {
    if (index < 1 || index > Count()) {
        return nullptr;
    }
    return &items_[static_cast<std::size_t>(index - 1)];
}

HRESULT CURLHistory::Remove(int index) {
    const URLHistoryItem* item = Item(index);
    if (item == nullptr) {
        return E_INVALIDARG;
    }
    const HRESULT result = store_->Delete(item->URL(), 0);
    if (SUCCEEDED(result)) {
        items_.erase(items_.begin() + (index - 1));
    }
    return result;
}

HRESULT ClearSystemUrlHistory() {
    CURLHistory history(std::make_unique<ComUrlHistoryStore>());
    return history.Clear();
}

}  // namespace hm

// Internet Explorer's URL history store behind a small interface, and CURLHistory, a snapshot
// of the store with the operations the cleaning pass and the keep-list code use. Strings are
// UTF-8 here; the COM adapter converts at its calls.
//
// Store failures come back as the store's HRESULT: the members hand them to their caller, who
// decides whether to carry on (the pass does).
#pragma once

#include <windows.h>
#include <urlhist.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hm {

// A UTC file time as local date and time (via local file time), or nothing when the system
// cannot represent it.
std::optional<SYSTEMTIME> LocalDateOf(const FILETIME& utc);

// One record of the store. It owns the record's two strings, which the store allocated with the
// COM task allocator, and frees them (title first, then URL) when it goes. Move-only.
class URLHistoryItem {
public:
    // Takes over the record's strings; either pointer may be null.
    explicit URLHistoryItem(const STATURL& record) noexcept;
    ~URLHistoryItem();
    URLHistoryItem(URLHistoryItem&& other) noexcept;
    URLHistoryItem& operator=(URLHistoryItem&& other) noexcept;
    URLHistoryItem(const URLHistoryItem&) = delete;
    URLHistoryItem& operator=(const URLHistoryItem&) = delete;

    // Empty when the record has no such string.
    std::string URL() const;
    std::string Title() const;
    std::optional<SYSTEMTIME> LastVisited() const { return LocalDateOf(record_.ftLastVisited); }
    std::optional<SYSTEMTIME> LastUpdated() const { return LocalDateOf(record_.ftLastUpdated); }
    std::optional<SYSTEMTIME> Expires() const { return LocalDateOf(record_.ftExpires); }
    std::uint32_t FLAGS() const { return record_.dwFlags; }

private:
    void Free() noexcept;
    STATURL record_;
};

// What CURLHistory needs of a history store. Flags are the store's own (STATURL_QUERYFLAG_* when
// enumerating, ADDURL_* when adding); the wrapper passes them through.
class UrlHistoryStore {
public:
    virtual ~UrlHistoryStore() = default;
    // Appends one item per record whose URL begins with the prefix (every record for an empty
    // prefix), in the store's order. On failure, items may hold what was fetched before.
    virtual HRESULT Enumerate(const std::string& prefix, std::uint32_t flags,
                              std::vector<URLHistoryItem>& items) = 0;
    virtual HRESULT Add(const std::string& url, const std::string& title, std::uint32_t flags) = 0;
    virtual HRESULT Delete(const std::string& url, std::uint32_t flags) = 0;
    // Empties the whole store.
    virtual HRESULT Clear() = 0;
};

// The system's store: the COM class CUrlHistory through IUrlHistoryStg and IUrlHistoryStg2. It
// joins COM on the calling thread when created (a single-threaded apartment, unless the thread
// already chose one) and leaves it again when destroyed, so it must be destroyed on the thread
// that made it. Where the object cannot be made, every call answers the creation's failure.
class ComUrlHistoryStore : public UrlHistoryStore {
public:
    ComUrlHistoryStore();
    ~ComUrlHistoryStore() override;
    ComUrlHistoryStore(const ComUrlHistoryStore&) = delete;
    ComUrlHistoryStore& operator=(const ComUrlHistoryStore&) = delete;

    HRESULT CreationResult() const { return created_; }

    HRESULT Enumerate(const std::string& prefix, std::uint32_t flags,
                      std::vector<URLHistoryItem>& items) override;
    HRESULT Add(const std::string& url, const std::string& title, std::uint32_t flags) override;
    HRESULT Delete(const std::string& url, std::uint32_t flags) override;
    HRESULT Clear() override;

private:
    bool leaveCom_ = false;
    HRESULT created_ = E_FAIL;
    IUrlHistoryStg* history_ = nullptr;
};

// A snapshot of a store (items numbered from 1) and the operations on both. The snapshot is
// taken when the object is made and retaken by DeleteURL and Clear; Remove drops its item. It
// goes stale when the store changes in any other way (AddURL included). Members that fail leave
// the snapshot as it was.
class CURLHistory {
public:
    // store must not be null; it goes with this object.
    explicit CURLHistory(std::unique_ptr<UrlHistoryStore> store);
    CURLHistory(const CURLHistory&) = delete;
    CURLHistory& operator=(const CURLHistory&) = delete;

    // What taking the first snapshot reported; on failure the snapshot is empty.
    HRESULT CreationResult() const { return created_; }

    // Adds the URL to the store; the snapshot is not retaken.
    HRESULT AddURL(const std::string& url, const std::string& title, std::uint32_t flags);
    // Deletes the URL from the store, then retakes the whole snapshot.
    HRESULT DeleteURL(const std::string& url, std::uint32_t flags);
    // Empties the store, then retakes the whole snapshot.
    HRESULT Clear();
    // Retakes the snapshot with the records whose URL begins with the prefix.
    HRESULT Refresh(const std::string& prefix, std::uint32_t flags);

    int Count() const { return static_cast<int>(items_.size()); }
    // The item at a 1-based index; null outside 1..Count().
    const URLHistoryItem* Item(int index) const;
    // Deletes the item's URL from the store (flags 0) and then drops the item from the snapshot.
    // E_INVALIDARG for an index outside 1..Count().
    HRESULT Remove(int index);
    // The snapshot, item by item.
    std::span<const URLHistoryItem> NewEnum() const { return items_; }

private:
    std::unique_ptr<UrlHistoryStore> store_;
    std::vector<URLHistoryItem> items_;
    HRESULT created_ = S_OK;
};

// Empties Internet Explorer's URL history through the system's store, as the "history" item of a
// pass does, and returns what the store answered. Returns promptly where the store answers every
// call with an error (E_NOTIMPL under Wine). Joins and leaves COM on the calling thread.
HRESULT ClearSystemUrlHistory();

}  // namespace hm

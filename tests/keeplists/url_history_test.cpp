// CURLHistory over a store double (snapshot, deletions, failures, the items' strings and times),
// and the system's store under Wine, which answers every call with an error.
#include "keeplists/url_history.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "platform/text.h"

namespace hm {
namespace {

using Texts = std::vector<std::string>;

wchar_t* TaskCopy(const std::string& text) {
    const std::wstring wide = Widen(text);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc((wide.size() + 1) * sizeof(wchar_t)));
    std::wmemcpy(copy, wide.c_str(), wide.size() + 1);
    return copy;
}

FILETIME FileTimeOf(WORD year, WORD month, WORD day, WORD hour) {
    const SYSTEMTIME date = {year, month, 0, day, hour, 0, 0, 0};
    FILETIME time = {};
    SystemTimeToFileTime(&date, &time);
    return time;
}

// A store in memory that logs every call and fails where a test asks it to.
class FakeStore : public UrlHistoryStore {
public:
    HRESULT Enumerate(const std::string& prefix, std::uint32_t flags,
                      std::vector<URLHistoryItem>& items) override {
        calls.push_back("enumerate '" + prefix + "' " + std::to_string(flags));
        int handedOut = 0;
        for (const std::string& url : urls) {
            if (url.rfind(prefix, 0) == 0) {
                if (handedOut++ == failEnumerateAfter) {
                    return E_FAIL;
                }
                STATURL record = {};
                record.pwcsUrl = TaskCopy(url);
                record.pwcsTitle = TaskCopy("T " + url);
                record.dwFlags = static_cast<DWORD>(handedOut);
                items.emplace_back(record);
            }
        }
        return S_OK;
    }
    HRESULT Add(const std::string& url, const std::string& title, std::uint32_t flags) override {
        calls.push_back("add " + url + " " + title + " " + std::to_string(flags));
        urls.push_back(url);
        return S_OK;
    }
    HRESULT Delete(const std::string& url, std::uint32_t flags) override {
        calls.push_back("delete " + url + " " + std::to_string(flags));
        if (SUCCEEDED(failDelete)) {
            urls.erase(std::remove(urls.begin(), urls.end(), url), urls.end());
        }
        return failDelete;
    }
    HRESULT Clear() override {
        calls.push_back("clear");
        if (SUCCEEDED(failClear)) {
            urls.clear();
        }
        return failClear;
    }

    Texts urls = {"http://a.example/", "http://b.example/x", "http://b.example/y"};
    Texts calls;
    int failEnumerateAfter = -1;
    HRESULT failDelete = S_OK;
    HRESULT failClear = S_OK;
};

class UrlHistory : public ::testing::Test {
protected:
    UrlHistory() {
        auto owned = std::make_unique<FakeStore>();
        store = owned.get();
        history = std::make_unique<CURLHistory>(std::move(owned));
    }
    Texts Urls() const {
        Texts urls;
        for (const URLHistoryItem& item : history->NewEnum()) {
            urls.push_back(item.URL());
        }
        return urls;
    }

    FakeStore* store = nullptr;
    std::unique_ptr<CURLHistory> history;
};

TEST_F(UrlHistory, CreationTakesTheSnapshotNumberedFromOneAndRefreshFilters) {
    EXPECT_EQ(history->CreationResult(), S_OK);
    EXPECT_EQ(store->calls, (Texts{"enumerate '' 0"}));
    EXPECT_EQ(Urls(), (Texts{"http://a.example/", "http://b.example/x", "http://b.example/y"}));
    ASSERT_EQ(history->Count(), 3);
    EXPECT_EQ(history->Item(1)->URL(), "http://a.example/");
    EXPECT_EQ(history->Item(2)->Title(), "T http://b.example/x");
    EXPECT_EQ(history->Item(3)->FLAGS(), 3u);
    EXPECT_EQ(history->Item(0), nullptr);
    EXPECT_EQ(history->Item(4), nullptr);

    EXPECT_EQ(history->Refresh("http://b.example/", 0x20000), S_OK);
    EXPECT_EQ(store->calls.back(), "enumerate 'http://b.example/' 131072");
    EXPECT_EQ(Urls(), (Texts{"http://b.example/x", "http://b.example/y"}));
}

TEST_F(UrlHistory, ChangesGoToTheStoreAndOnlyDeleteAndClearRetakeTheSnapshot) {
    EXPECT_EQ(history->AddURL("http://c.example/", "C", 16), S_OK);
    EXPECT_EQ(history->Count(), 3);
    EXPECT_EQ(history->DeleteURL("http://b.example/x", 4), S_OK);
    EXPECT_EQ(Urls(), (Texts{"http://a.example/", "http://b.example/y", "http://c.example/"}));
    EXPECT_EQ(history->Remove(2), S_OK);
    EXPECT_EQ(Urls(), (Texts{"http://a.example/", "http://c.example/"}));
    EXPECT_EQ(history->Remove(3), E_INVALIDARG);
    EXPECT_EQ(history->Clear(), S_OK);
    EXPECT_EQ(history->Count(), 0);
    EXPECT_EQ(store->calls,
              (Texts{"enumerate '' 0", "add http://c.example/ C 16", "delete http://b.example/x 4",
                     "enumerate '' 0", "delete http://b.example/y 0", "clear", "enumerate '' 0"}));
}

TEST_F(UrlHistory, FailuresReachTheCallerAndLeaveTheSnapshotAsItWas) {
    store->failClear = E_NOTIMPL;
    EXPECT_EQ(history->Clear(), E_NOTIMPL);
    store->failDelete = E_ACCESSDENIED;
    EXPECT_EQ(history->DeleteURL("http://a.example/", 0), E_ACCESSDENIED);
    EXPECT_EQ(history->Remove(1), E_ACCESSDENIED);
    // Nothing retaken after a failed change.
    EXPECT_EQ(std::count(store->calls.begin(), store->calls.end(), "enumerate '' 0"), 1);
    // An enumeration that breaks off half-way does not leave a part of the store as the snapshot.
    store->failEnumerateAfter = 1;
    EXPECT_EQ(history->Refresh("", 0), E_FAIL);
    EXPECT_EQ(history->Count(), 3);

    auto broken = std::make_unique<FakeStore>();
    broken->failEnumerateAfter = 0;
    const CURLHistory empty(std::move(broken));
    EXPECT_EQ(empty.CreationResult(), E_FAIL);
    EXPECT_EQ(empty.Count(), 0);
}

TEST(UrlHistoryItem, MissingStringsReadEmptyAndTimesAreLocal) {
    const FILETIME utc = FileTimeOf(2024, 3, 10, 12);
    STATURL record = {
        sizeof(STATURL),           TaskCopy("http://a.example/\xC3\xA9"), nullptr,    utc,
        FileTimeOf(2023, 1, 2, 3), FileTimeOf(2030, 6, 15, 12),           0x80000001u};
    const URLHistoryItem item(record);
    EXPECT_EQ(item.URL(), "http://a.example/\xC3\xA9");
    EXPECT_EQ(item.Title(), "");
    EXPECT_EQ(item.FLAGS(), 0x80000001u);

    // Local time is the UTC time less the zone's present bias.
    TIME_ZONE_INFORMATION zone = {};
    const DWORD which = GetTimeZoneInformation(&zone);
    const LONG bias = zone.Bias + (which == TIME_ZONE_ID_DAYLIGHT   ? zone.DaylightBias
                                   : which == TIME_ZONE_ID_STANDARD ? zone.StandardBias
                                                                    : 0);
    const int local = 12 * 60 - bias;  // minutes after the start of 10 March, local time
    const int day = local < 0 ? 9 : local >= 24 * 60 ? 11 : 10;
    ASSERT_TRUE(item.LastVisited().has_value());
    EXPECT_EQ(item.LastVisited()->wDay, day);
    EXPECT_EQ(item.LastVisited()->wHour * 60 + item.LastVisited()->wMinute,
              local - (day - 10) * 24 * 60);
    EXPECT_EQ(item.LastUpdated()->wYear, 2023);
    EXPECT_EQ(item.Expires()->wMonth, 6);
    // A file time beyond what a date can hold gives no date rather than a wrong one.
    EXPECT_FALSE(LocalDateOf(FILETIME{0xFFFFFFFFu, 0xFFFFFFFFu}).has_value());
}

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Whether the thread is outside any apartment, told by joining the multi-threaded one.
bool OutsideCom() {
    const HRESULT joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(joined)) {
        CoUninitialize();
    }
    return joined == S_OK;
}

// On Windows these calls would empty the real history of whoever runs the tests.
TEST(ComUrlHistoryStore, UnderWineEveryCallFailsCleanlyAndComIsLeftAsFound) {
    if (!UnderWine()) {
        GTEST_SKIP() << "would clear this machine's Internet Explorer history";
    }
    std::thread([] {
        {
            ComUrlHistoryStore* store = nullptr;
            CURLHistory history([&] {
                auto made = std::make_unique<ComUrlHistoryStore>();
                store = made.get();
                return made;
            }());
            // The object is made (the class and interface ids are right); its calls fail.
            EXPECT_EQ(store->CreationResult(), S_OK);
            EXPECT_TRUE(FAILED(history.CreationResult()));
            EXPECT_TRUE(FAILED(history.Clear()));
            EXPECT_TRUE(FAILED(history.AddURL("http://a.example/", "A", 0)));
            EXPECT_TRUE(FAILED(history.DeleteURL("http://a.example/", 0)));
            EXPECT_EQ(history.Count(), 0);
        }
        EXPECT_TRUE(OutsideCom());
    }).join();

    // A thread already in the multi-threaded apartment stays in it.
    std::thread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_TRUE(FAILED(ClearSystemUrlHistory()));
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
        CoUninitialize();
        EXPECT_TRUE(OutsideCom());
    }).join();
}

}  // namespace
}  // namespace hm

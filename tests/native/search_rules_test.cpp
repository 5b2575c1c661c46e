#include "search/search_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/locate_rules.h"

namespace hm::search {
namespace {

using Names = std::vector<std::string>;

struct PatternCase {
    const char* piece;
    const char* text;
    bool leading;
    bool trailing;
};

TEST(SearchRules, OneStarComesOffEachEndAndInnerStarsStayLiteral) {
    const PatternCase cases[] = {
        {"*.tmp", ".tmp", true, false},
        {"~*", "~", false, true},
        {"*log*", "log", true, true},
        {"a*b", "a*b", false, false},
        {"Thumbs.db", "Thumbs.db", false, false},
        {"*", "", true, false},
        {"**", "", true, true},
        {"***", "*", true, true},
        {"a**", "a*", false, true},
        {"", "", false, false},
        {"*ab", "ab", true, false},
        // Two characters with a leading star keep their second one.
        {"*a", "a", true, false},
        {"*~", "~", true, false},
    };
    for (const PatternCase& c : cases) {
        const NamePattern pattern = ParsePattern(c.piece);
        EXPECT_EQ(pattern.text, c.text) << c.piece;
        EXPECT_EQ(pattern.leadingStar, c.leading) << c.piece;
        EXPECT_EQ(pattern.trailingStar, c.trailing) << c.piece;
    }
}

TEST(SearchRules, PatternTextSplitsAtEverySemicolon) {
    std::vector<std::string> texts;
    for (const NamePattern& pattern : ParsePatterns("*.tmp;;~*;")) {
        texts.push_back(pattern.text);
    }
    EXPECT_EQ(texts, (Names{".tmp", "", "~", ""}));
    EXPECT_EQ(ParsePatterns("").size(), 1u);
}

struct FindCase {
    const char* pattern;
    const char* name;
    bool found;
};

TEST(SearchRules, WildcardsFindByEndBeginningOrContentInAnyCase) {
    const FindCase cases[] = {
        {"*.tmp", "a.tmp", true},     {"*.tmp", "A.TMP", true},
        {"*.tmp", ".tmp", false},  // not longer than the pattern
        {"*.tmp", "a.tmp1", false},   {"*.tmp", "x", false},
        {"~*", "~WRL0001.tmp", true}, {"~*", "a~", false},
        {"~*", "~", false},           {"*log*", "Setup.LOG.old", true},
        {"*log*", "catalogue", true}, {"*log*", "log", false},
        {"*log*", "blob", false},     {"a*b", "a*b", false},  // an exact name, looked up per folder
        {"a*b", "aXb", false},        {"*", "anything", true},
        {"*a", "banana", true},       {"*a", "bananas", false},
        {"*.é", "x.É", true},         {"*.tmp", "ÿ.TMP", true},
        {"*ß*", "STRASSE", false},  // no folding beyond one character to one
        {"*ж*", "ДЖИН", true},        {"*σ", "ΛΟΓΟΣ", true},
        {"*ς", "λογοΣ", true},
    };
    for (const FindCase& c : cases) {
        const NamePattern pattern = ParsePattern(c.pattern);
        EXPECT_EQ(WildcardFinds(pattern, UpperCase(c.name), Utf16Length(c.name)), c.found)
            << c.pattern << " / " << c.name;
    }
}

TEST(SearchRules, LengthsCountUtf16UnitsAndUpperCaseKeepsOtherBytes) {
    EXPECT_EQ(Utf16Length("abc"), 3u);
    EXPECT_EQ(Utf16Length("é"), 1u);
    EXPECT_EQ(Utf16Length("日本"), 2u);
    EXPECT_EQ(Utf16Length("\xF0\x9F\x98\x80"), 2u);  // outside the basic plane: a pair
    EXPECT_EQ(Utf16Length("\xFF\xC3"), 2u);          // broken bytes count one each
    EXPECT_EQ(UpperCase("straße.tmp"), "STRAßE.TMP");
    EXPECT_EQ(UpperCase("ąčž"), "ĄČŽ");
    EXPECT_EQ(UpperCase("ıİÿ"), "ıİŸ");
    EXPECT_EQ(UpperCase("\xFF\xC3"), "\xFF\xC3");
    EXPECT_EQ(UpperCase("a\xC3"), "A\xC3");
    // A name with one more character than the pattern, that character outside the basic plane.
    const NamePattern tmp = ParsePattern("*.tmp");
    EXPECT_TRUE(WildcardFinds(tmp, "\xF0\x9F\x98\x80.TMP", Utf16Length("\xF0\x9F\x98\x80.TMP")));
}

TEST(SearchRules, RecycledInTheseLettersAndWin386SwapInAnyCaseAreNeverListed) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\Recycled\\a.tmp", true},  {"C:\\RECYCLED\\a.tmp", false},
        {"C:\\recycled\\a.tmp", false}, {"C:\\x\\NotRecycledYet.tmp", true},
        {"C:\\win386.swp", true},       {"C:\\old\\Win386.Swp.bak", true},
        {"C:\\x\\win386.sw", false},
    };
    for (const auto& [path, excluded] : cases) {
        EXPECT_EQ(IsExcludedPath(path), excluded) << path;
    }
}

TEST(SearchRules, ExactNamesArePlainNamesOnly) {
    for (const char* name : {"Thumbs.db", "desktop.ini", "a b", "日本.txt"}) {
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    }
    for (const char* name : {"", ".", "..", "..\\x", "a/b", "C:x", "a*b", "a?", "x|y", "\t"}) {
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    }
}

TEST(SearchRules, EntriesSizesAndKilobytesRead) {
    EXPECT_EQ(AddBackslash("C:\\x"), "C:\\x\\");
    EXPECT_EQ(AddBackslash("C:\\"), "C:\\");
    EXPECT_EQ(AddBackslash(""), "\\");
    EXPECT_EQ(WildcardEntry("C:\\a.tmp", 1234, "12/8/2026 9:41:07 AM"),
              "C:\\a.tmp   Size:1234   LastModyfied:12/8/2026 9:41:07 AM");
    const std::pair<std::uint64_t, const char*> kilobytes[] = {
        {0, "0"},
        {1, "0.001"},
        {1500, "1.5"},
        {12000, "12"},
        {1234567, "1234.567"},
        {5000000000ULL, "5000000"},
        {2147483648ULL, "2147483.648"},
    };
    for (const auto& [bytes, text] : kilobytes) {
        EXPECT_EQ(KilobyteText(bytes), text) << bytes;
    }
}

struct Scan {
    std::vector<std::string> hits;  // "pattern:file" or "pattern:=name" for exact names
    bool completed = true;
};

Scan ScanOne(PatternSet& set, const std::string& folder, const Names& names,
             int stopAfterMisses = -1) {
    Scan scan;
    int misses = 0;
    scan.completed = set.ScanFolder(
        folder, names,
        [&](const PatternSet::Hit& hit) {
            scan.hits.push_back(std::to_string(hit.pattern) + (hit.exactName ? ":=" : ":") +
                                names[hit.file]);
        },
        [&] { return stopAfterMisses >= 0 && ++misses > stopAfterMisses; });
    return scan;
}

TEST(SearchRules, DefaultPatternsFindEachFileOnceForTheFirstPatternThatFindsIt) {
    PatternSet set("*.tmp;*.gid;*.swp;*.chk;*1");
    const Scan scan =
        ScanOne(set, "C:\\d\\", {"a.tmp", "A.TMP", ".tmp", "a.tmp1", "x", "b.gid", "tt.chk"});
    EXPECT_EQ(scan.hits, (Names{"0:a.tmp", "0:A.TMP", "4:a.tmp1", "1:b.gid", "3:tt.chk"}));
    EXPECT_EQ(set.counts(), (std::vector<std::size_t>{2, 1, 0, 1, 1}));
    EXPECT_EQ(set.Summary(5, 1500),
              "5  Files Found      .tmp - 2    .gid - 1    .swp - 0    .chk - 1    1 - 1\r\n"
              "Total size: 1.5kb");
}

TEST(SearchRules, AShortNameIsStillTestedAgainstLaterShorterPatterns) {
    PatternSet set("*.tmp;*.c");
    EXPECT_EQ(ScanOne(set, "C:\\d\\", {"ab.c", "q.tmp"}).hits, (Names{"1:ab.c", "0:q.tmp"}));
}

TEST(SearchRules, AnExactNameIsReportedOncePerSearchAtTheFirstFolderHoldingIt) {
    PatternSet set("*.tmp;Thumbs.db");
    // Listed when the folder's first file reaches the pattern, before that file's own entry.
    EXPECT_EQ(ScanOne(set, "C:\\a\\", {"b.tmp", "c.txt", "THUMBS.DB"}).hits,
              (Names{"0:b.tmp", "1:=THUMBS.DB"}));
    EXPECT_EQ(ScanOne(set, "C:\\a\\b\\", {"Thumbs.db", "d.tmp"}).hits, (Names{"0:d.tmp"}));
    EXPECT_EQ(set.counts(), (std::vector<std::size_t>{2, 1}));

    PatternSet other("Thumbs.db;*.tmp");
    EXPECT_EQ(ScanOne(other, "C:\\a\\", {"b.tmp", "Thumbs.db"}).hits,
              (Names{"0:=Thumbs.db", "1:b.tmp"}));
    // A folder without files looks nothing up; a later folder still can.
    PatternSet late("Thumbs.db");
    EXPECT_TRUE(ScanOne(late, "C:\\e\\", {}).hits.empty());
    EXPECT_EQ(ScanOne(late, "C:\\f\\", {"Thumbs.db"}).hits, (Names{"0:=Thumbs.db"}));
}

TEST(SearchRules, ExactNamesInExcludedPlacesOrWithSeparatorsAreNotReported) {
    PatternSet set("Thumbs.db;..;a*b;sub\\x.txt");
    EXPECT_TRUE(ScanOne(set, "C:\\Recycled\\", {"Thumbs.db"}).hits.empty());
    EXPECT_TRUE(ScanOne(set, "C:\\d\\", {"a*b", "..", "sub\\x.txt"}).hits.empty());
    EXPECT_EQ(ScanOne(set, "C:\\RECYCLED\\", {"Thumbs.db"}).hits, (Names{"0:=Thumbs.db"}));
}

TEST(SearchRules, RecycledAndSwapFilesAreSkippedButTheScanGoesOn) {
    PatternSet set("*.tmp;*.swp");
    EXPECT_TRUE(ScanOne(set, "C:\\Recycled\\", {"a.tmp"}).hits.empty());
    EXPECT_EQ(ScanOne(set, "C:\\RECYCLED\\", {"a.tmp"}).hits, (Names{"0:a.tmp"}));
    EXPECT_EQ(ScanOne(set, "C:\\", {"WIN386.SWP", "other.swp"}).hits, (Names{"1:other.swp"}));
}

TEST(SearchRules, StopIsAskedAfterEachFileNothingFound) {
    PatternSet set("*.tmp");
    const Scan stopped = ScanOne(set, "C:\\d\\", {"a.tmp", "x.txt", "y.txt", "b.tmp"}, 1);
    EXPECT_FALSE(stopped.completed);
    EXPECT_EQ(stopped.hits, (Names{"0:a.tmp"}));
    PatternSet all("*.tmp");
    EXPECT_TRUE(ScanOne(all, "C:\\d\\", {"a.tmp", "b.tmp"}, 0).completed);
}

TEST(SearchRules, EmptyPatternsFindNothing) {
    PatternSet set(";;");
    EXPECT_TRUE(ScanOne(set, "C:\\d\\", {"a", ".tmp", "x y"}).hits.empty());
    EXPECT_EQ(set.Summary(0, 0), "0  Files Found       - 0     - 0     - 0\r\nTotal size: 0kb");
}

TEST(LocateRules, PromptAndResetReadStoredTexts) {
    const std::pair<const char*, bool> prompts[] = {
        {"1", true},      {"0", false}, {" 0 ", false}, {"0.0", false}, {"false", false},
        {"False", false}, {"", true},   {"yes", true},  {"-1", true},   {"True", true},
    };
    for (const auto& [stored, shown] : prompts) {
        EXPECT_EQ(PromptReadsAsTrue(stored), shown) << stored;
    }
    const std::pair<const char*, bool> uses[] = {
        {"1", false}, {"2", false}, {"2.5", true}, {"3", true}, {"", true}, {"many", true},
    };
    for (const auto& [stored, asks] : uses) {
        EXPECT_EQ(ResetAsksFirst(stored), asks) << stored;
    }
}

}  // namespace
}  // namespace hm::search

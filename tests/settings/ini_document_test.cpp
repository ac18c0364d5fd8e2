// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_document.h"

#include <gtest/gtest.h>
#include <random>

namespace huegrab {
namespace {

using namespace std::string_literals;

// --- Files built by writes, compared byte for byte with what the desktop's
// --- WritePrivateProfileStringA leaves for the same calls.

TEST(IniDocumentWrite, FileBuiltFromNothingHasTheDesktopsExactBytes) {
    IniDocument doc;
    EXPECT_TRUE(doc.Write("App1", "key1", "string1"));
    EXPECT_TRUE(doc.Write("App1", "key2", "string2"));
    EXPECT_TRUE(doc.Write("App1", "key3", "string3"));
    EXPECT_TRUE(doc.Write("App2", "key4", "string4"));
    EXPECT_TRUE(doc.Write("App3", "key5", "string5"));
    EXPECT_EQ(doc.Bytes(), "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n"
                           "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n");
}

TEST(IniDocumentWrite, EmptyValuesAndSlotSectionsInFirstWrittenOrder) {
    IniDocument doc;
    for (const char* key : {"X", "Y", "C", "R", "G", "B", "H", "S", "L"}) {
        doc.Write("P4", key, "");
    }
    doc.Write("P0", "X", "512");
    doc.Write("P4", "C", "255");
    EXPECT_EQ(doc.Bytes(), "[P4]\r\nX=\r\nY=\r\nC=255\r\nR=\r\nG=\r\nB=\r\nH=\r\nS=\r\nL=\r\n"
                           "[P0]\r\nX=512\r\n");
    EXPECT_EQ(doc.Read("P4", "X"), "");
    EXPECT_FALSE(doc.Find("P4", "Z").has_value());
    EXPECT_EQ(doc.Find("P4", "X"), "");
}

TEST(IniDocumentWrite, ValueIsWrittenAsGivenAndReadBackTrimmed) {
    IniDocument doc;
    doc.Write(" P1 ", " X ", " 5 ");
    EXPECT_EQ(doc.Bytes(), "[P1]\r\nX= 5 \r\n");
    EXPECT_EQ(doc.Read("P1", "X"), "5");
}

TEST(IniDocumentWrite, NewSectionAfterAnOpenLastLineKeepsEveryByteBeforeIt) {
    const std::string before = "Data \0 before \0 first \0 section"s;
    IniDocument doc(before);
    doc.Write("section1", "key1", "string1");
    EXPECT_EQ(doc.Bytes(), before + "\r\n[section1]\r\nkey1=string1\r\n");
}

TEST(IniDocumentWrite, NewSectionGoesAtTheEndWithoutABlankLine) {
    IniDocument doc("; my colours\r\n[P0]\r\nX=1\r\n\r\n; trailing note\r\n");
    doc.Write("P1", "X", "2");
    EXPECT_EQ(doc.Bytes(), "; my colours\r\n[P0]\r\nX=1\r\n\r\n; trailing note\r\n[P1]\r\nX=2\r\n");
}

TEST(IniDocumentWrite, ExistingKeyLineIsRewrittenInTheFilesSpellingAndNothingElseMoves) {
    const std::string head = "\xEF\xBB\xBF; comment\n[other]\nX=keep\n[ p0 ]  ; slot one\n";
    const std::string tail = "\nY=2\n[P0]\nx=second section\n";
    IniDocument doc(head + "  x = old value \t" + tail);
    doc.Write("P0", "X", "new");
    EXPECT_EQ(doc.Bytes(), head + "x=new\r\n" + tail.substr(1));
    EXPECT_EQ(doc.Read("P0", "x"), "new");
    EXPECT_EQ(doc.Read("other", "X"), "keep");
}

TEST(IniDocumentWrite, OnlyTheFirstOfDuplicateKeysIsRewritten) {
    IniDocument doc("[P0]\r\nC=1\r\nC=2\r\n");
    doc.Write("p0", "c", "3");
    EXPECT_EQ(doc.Bytes(), "[P0]\r\nC=3\r\nC=2\r\n");
    EXPECT_EQ(doc.Read("P0", "C"), "3");
}

// The file's spelling of a section or key wins over the caller's; a name the
// file does not hold yet is written as the caller spells it.
TEST(IniDocumentWrite, NamesKeepTheSpellingTheFileAlreadyHas) {
    struct Case {
        std::string before, section, key, after;
    };
    const Case cases[] = {
        {"[p0]\r\nX=5\r\n", "P0", "x", "[p0]\r\nX=9\r\n"},
        {"[P0]\r\nx=5\r\n", "p0", "X", "[P0]\r\nx=9\r\n"},
        {"[Colours]\r\n  Hue\t= 5 \r\n", "COLOURS", "hUE", "[Colours]\r\nHue=9\r\n"},
        {"[p3]\r\nX=5\r\n", "P3", "Y", "[p3]\r\nX=5\r\nY=9\r\n"},
        {"[p3]\r\n", "P4", "c", "[p3]\r\n[P4]\r\nc=9\r\n"},
    };
    for (const Case& c : cases) {
        IniDocument doc(c.before);
        ASSERT_TRUE(doc.Write(c.section, c.key, "9"));
        EXPECT_EQ(doc.Bytes(), c.after) << testing::PrintToString(c.before);
    }
}

TEST(IniDocumentWrite, NewKeyGoesAfterTheLastKeyLineOfItsSection) {
    IniDocument doc("[P0]\r\nX=1\r\nnot a key\r\n; note\r\n\r\n[P1]\r\nX=2\r\n");
    doc.Write("P0", "Y", "9");
    EXPECT_EQ(doc.Bytes(), "[P0]\r\nX=1\r\nY=9\r\nnot a key\r\n; note\r\n\r\n[P1]\r\nX=2\r\n");
}

TEST(IniDocumentWrite, NewKeyInASectionWithoutKeysFollowsItsHeader) {
    IniDocument doc("[P0]\n; empty\n[P1]\nX=2\n");
    doc.Write("P0", "X", "1");
    EXPECT_EQ(doc.Bytes(), "[P0]\nX=1\r\n; empty\n[P1]\nX=2\n");
}

TEST(IniDocumentWrite, NewKeyAfterAnOpenLastLineEndsThatLineFirst) {
    IniDocument doc("[P0]\nX=1");
    doc.Write("P0", "Y", "2");
    EXPECT_EQ(doc.Bytes(), "[P0]\nX=1\r\nY=2\r\n");
    IniDocument headerOnly("[P0]");
    headerOnly.Write("P0", "Y", "2");
    EXPECT_EQ(headerOnly.Bytes(), "[P0]\r\nY=2\r\n");
}

TEST(IniDocumentWrite, WritesGoToTheFirstOfDuplicateSections) {
    IniDocument doc("[P0]\r\nX=1\r\n[P0]\r\nY=2\r\n");
    doc.Write("P0", "Y", "3");
    EXPECT_EQ(doc.Bytes(), "[P0]\r\nX=1\r\nY=3\r\n[P0]\r\nY=2\r\n");
}

TEST(IniDocumentWrite, ByteOrderMarkStaysAndANewSectionFollowsItDirectly) {
    IniDocument doc("\xEF\xBB\xBF");
    doc.Write("P0", "X", "1");
    EXPECT_EQ(doc.Bytes(), "\xEF\xBB\xBF[P0]\r\nX=1\r\n");
}

TEST(IniDocumentWrite, RefusesEmptyNamesAndNeverAddsLinesOfItsOwn) {
    IniDocument doc("[P0]\r\n");
    EXPECT_FALSE(doc.Write("", "X", "1"));
    EXPECT_FALSE(doc.Write("P0", "  ", "1"));
    EXPECT_EQ(doc.Bytes(), "[P0]\r\n");
    EXPECT_TRUE(doc.Write("P0", "X", "1\r\n[P5]\r\nC=0"));
    EXPECT_TRUE(doc.Write("P0", "Y", "a\0b"s));
    EXPECT_EQ(doc.Bytes(), "[P0]\r\nX=1\r\nY=a\r\n");
}

TEST(IniDocumentWrite, NonAsciiTextIsStoredAsUtf8) {
    IniDocument doc;
    doc.Write("P0", "X", "得颜色");
    EXPECT_EQ(doc.Bytes(), "[P0]\r\nX=\xE5\xBE\x97\xE9\xA2\x9C\xE8\x89\xB2\r\n");
    EXPECT_EQ(doc.Read("P0", "X"), "得颜色");
}

// --- Hand-edited files read as the desktop reads them.

TEST(IniDocumentRead, NamesIgnoreCaseAndBlanks) {
    const IniDocument doc("[p3]\r\nc=255\r\n  [ P4 ] trailing words\r\n\t KEY = value \r\n");
    EXPECT_EQ(doc.Read("P3", "C"), "255");
    EXPECT_EQ(doc.Read("P4", "key"), "value");
    EXPECT_EQ(doc.Read(" p4 ", " Key "), "value");
    EXPECT_EQ(doc.Read("P3", "KEY"), "");
}

TEST(IniDocumentRead, MatchingQuotesAroundAWholeValueAreDropped) {
    const IniDocument doc("[q]\n"
                          "a = \"val2\"\n"
                          "b=' padded '\n"
                          "c=''twice''\n"
                          "d=\"mixed'\n"
                          "e=\"\n"
                          "f=\"\"\n"
                          "g=\"inner\" tail\n");
    EXPECT_EQ(doc.Read("q", "a"), "val2");
    EXPECT_EQ(doc.Read("q", "b"), " padded ");
    EXPECT_EQ(doc.Read("q", "c"), "'twice'");
    EXPECT_EQ(doc.Read("q", "d"), "\"mixed'");
    EXPECT_EQ(doc.Read("q", "e"), "\"");
    EXPECT_EQ(doc.Read("q", "f"), "");
    EXPECT_EQ(doc.Read("q", "g"), "\"inner\" tail");
}

TEST(IniDocumentRead, CommentsLinesWithoutEqualsAndLinesBeforeAnySectionHoldNoKey) {
    const IniDocument doc("X=outside\r\n[P0]\r\n;Y=commented\r\n  ; Z=also\r\nW\r\n=no key\r\n"
                          "V==2\r\n");
    EXPECT_EQ(doc.Find("P0", "X"), std::nullopt);
    EXPECT_EQ(doc.Find("P0", ";Y"), std::nullopt);
    EXPECT_EQ(doc.Find("P0", "Y"), std::nullopt);
    EXPECT_EQ(doc.Find("P0", "Z"), std::nullopt);
    EXPECT_EQ(doc.Find("P0", "W"), std::nullopt);
    EXPECT_EQ(doc.Read("P0", "V"), "=2");
}

TEST(IniDocumentRead, FirstOfDuplicateSectionsAndKeysWins) {
    const IniDocument doc("[P1]\nC=1\nC=2\n[P2]\nC=9\n[p1]\nC=3\nX=only here\n");
    EXPECT_EQ(doc.Read("P1", "C"), "1");
    EXPECT_EQ(doc.Find("P1", "X"), std::nullopt);
}

TEST(IniDocumentRead, EveryLineEndAndByteOrderMarkReadTheSame) {
    for (const std::string& bytes : {"[s]\r\nk=v\r\n[t]\r\nk=w"s, "[s]\nk=v\n[t]\nk=w\n"s,
                                     "[s]\rk=v\r[t]\rk=w\r"s, "\xEF\xBB\xBF[s]\nk=v\n[t]\nk=w"s}) {
        const IniDocument doc(bytes);
        EXPECT_EQ(doc.Read("s", "k"), "v") << bytes;
        EXPECT_EQ(doc.Read("t", "k"), "w") << bytes;
    }
}

TEST(IniDocumentRead, ReturnsAtMost2047BytesAndStopsAtNul) {
    const std::string longValue(3000, '7');
    const IniDocument doc("[P0]\r\nX=" + longValue + "\r\nY=" + std::string(2047, 'y') +
                          "\r\nZ=ab\0cd\r\n"s);
    EXPECT_EQ(doc.Read("P0", "X"), std::string(2047, '7'));
    EXPECT_EQ(doc.Find("P0", "X"), longValue);
    EXPECT_EQ(doc.Read("P0", "Y"), std::string(2047, 'y'));
    EXPECT_EQ(doc.Read("P0", "Z"), "ab");
}

TEST(IniDocumentRead, MissingSectionKeyOrEmptyFileReadEmpty) {
    EXPECT_EQ(IniDocument().Read("P0", "X"), "");
    EXPECT_EQ(IniDocument("[P0]\r\n").Read("P0", "X"), "");
    EXPECT_EQ(IniDocument("[P1]\r\nX=1\r\n").Read("P0", "X"), "");
    EXPECT_EQ(IniDocument("[P0\r\nX=1\r\n").Read("P0", "X"), "1"); // no "]": name to line end
}

// Random bytes that lean on the characters the rules care about: a write must
// read back as written, and leave every other key reading as before.
TEST(IniDocumentProperty, WriteReadsBackAndLeavesOtherKeysAlone) {
    std::mt19937 random(20240607);
    const std::string alphabet = "[]=;\"' \t\r\nPpXxYy0123\0\xEF\xBB\xBF"s;
    const std::vector<std::pair<std::string, std::string>> probes = {
        {"P0", "X"}, {"P0", "Y"}, {"p1", "x"}, {"P1", "Y"}, {"Pp", "0"}, {"X", "Y"}};
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 80, ' ');
        for (char& c : bytes) {
            c = alphabet[random() % alphabet.size()];
        }
        IniDocument doc(bytes);
        std::vector<std::string> before;
        for (const auto& [section, key] : probes) {
            before.push_back(doc.Read(section, key));
        }
        const std::string value = std::to_string(random() % 1000);
        ASSERT_TRUE(doc.Write("P1", "X", value));
        ASSERT_EQ(doc.Read("P1", "X"), value) << testing::PrintToString(bytes);
        for (std::size_t i = 0; i < probes.size(); ++i) {
            if (probes[i].first != "p1" || probes[i].second != "x") {
                ASSERT_EQ(doc.Read(probes[i].first, probes[i].second), before[i])
                    << testing::PrintToString(bytes) << " probe " << i;
            }
        }
    }
}

} // namespace
} // namespace huegrab

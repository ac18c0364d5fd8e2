// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_encoding.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>
#ifdef _WIN32
#include <thread>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace huegrab {
namespace {

using namespace std::string_literals;
using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;

TEST(SettingsFile, MissingFileReadsEmptyAndTheFirstWriteCreatesIt) {
    TempFolder folder;
    SettingsFile file(folder / "config.ini");
    EXPECT_FALSE(file.Exists());
    EXPECT_EQ(file.ReadSetting("P0", "X"), "");
    EXPECT_TRUE(file.WriteSetting("P0", "X", "512"));
    EXPECT_TRUE(file.Exists());
    EXPECT_EQ(file.ReadSetting("p0", "x"), "512");
    EXPECT_EQ(ReadBytes(file.Path()), "[P0]\r\nX=512\r\n");
}

TEST(SettingsFile, BatchLeavesTheSameBytesAsSingleWrites) {
    TempFolder folder;
    const std::string start = "; kept\n[P1]\nx = 7 \n[Other]\nk=v\n";
    WriteBytes(folder / "a.ini", start);
    WriteBytes(folder / "b.ini", start);
    SettingsFile single(folder / "a.ini");
    SettingsFile batch(folder / "b.ini");
    const std::vector<IniKeyValue> values = {{"X", "1"}, {"Y", "2"}, {"C", ""}, {"R", "255"}};
    for (const IniKeyValue& entry : values) {
        ASSERT_TRUE(single.WriteSetting("P1", entry.key, entry.value));
        ASSERT_TRUE(single.WriteSetting("P2", entry.key, entry.value));
    }
    ASSERT_TRUE(batch.WriteSettings("P1", values));
    ASSERT_TRUE(batch.WriteSettings("P2", values));
    EXPECT_EQ(ReadBytes(folder / "b.ini"), ReadBytes(folder / "a.ini"));
    EXPECT_EQ(ReadBytes(folder / "b.ini"),
              "; kept\n[P1]\nx=1\r\nY=2\r\nC=\r\nR=255\r\n[Other]\nk=v\n"
              "[P2]\r\nX=1\r\nY=2\r\nC=\r\nR=255\r\n");
}

TEST(SettingsFile, SeesEditsMadeBetweenCalls) {
    TempFolder folder;
    SettingsFile file(folder / "config.ini");
    file.WriteSetting("P0", "C", "1");
    WriteBytes(file.Path(), "[P0]\nC=2\n");
    EXPECT_EQ(file.ReadSetting("P0", "C"), "2");
    file.WriteSetting("P0", "X", "3");
    EXPECT_EQ(ReadBytes(file.Path()), "[P0]\nC=2\nX=3\r\n");
}

// The program's folder became read-only, so the file moved to the user's
// folder: until it exists there, the slots kept beside the program are read,
// and the first save starts the new file from them, leaving the old one be.
TEST(SettingsFile, UntilItExistsTheFileBesideTheProgramIsReadAndCarriedOver) {
    TempFolder folder;
    const std::string beside = "[P0]\r\nC=255\r\n; mine\n[P3]\r\nC=65280\r\n";
    WriteBytes(folder / "config.ini", beside);
    SettingsFile file(folder / "user" / "config.ini", folder / "config.ini");
    EXPECT_TRUE(file.Exists());
    EXPECT_EQ(file.ReadSetting("P3", "C"), "65280");
    ASSERT_TRUE(file.WriteSetting("P0", "X", "7"));
    EXPECT_EQ(ReadBytes(file.Path()), "[P0]\r\nC=255\r\nX=7\r\n; mine\n[P3]\r\nC=65280\r\n");
    EXPECT_EQ(ReadBytes(folder / "config.ini"), beside);
    WriteBytes(folder / "config.ini", "[P3]\r\nC=1\r\n");
    EXPECT_EQ(file.ReadSetting("P3", "C"), "65280");
}

TEST(SettingsFile, DoubledSeparatorInThePathWorks) {
    TempFolder folder;
    SettingsFile file(folder.Path().string() + "//config.ini");
    ASSERT_TRUE(file.WriteSetting("P0", "X", "1"));
    EXPECT_EQ(SettingsFile(folder / "config.ini").ReadSetting("P0", "X"), "1");
}

TEST(SettingsFile, BinaryGarbageNeitherStopsReadsNorIsLostOnWrite) {
    TempFolder folder;
    std::mt19937 random(7);
    std::string garbage(70000, '\0');
    for (char& c : garbage) {
        c = static_cast<char>(random());
    }
    WriteBytes(folder / "config.ini", garbage);
    SettingsFile file(folder / "config.ini");
    for (int slot = 0; slot < 10; ++slot) {
        file.ReadSetting("P" + std::to_string(slot), "C"); // must simply return
    }
    ASSERT_TRUE(file.WriteSetting("P9", "C", "255"));
    EXPECT_EQ(file.ReadSetting("P9", "C"), "255");
    EXPECT_EQ(ReadBytes(file.Path()).substr(0, garbage.size()), garbage);
}

TEST(SettingsFile, VeryLargeFileReadsItsStartAndIsNeverRewritten) {
    TempFolder folder;
    const std::string big = "[P0]\r\nC=42\r\n" + std::string(5 * 1024 * 1024, ';');
    WriteBytes(folder / "config.ini", big);
    SettingsFile file(folder / "config.ini");
    EXPECT_EQ(file.ReadSetting("P0", "C"), "42");
    EXPECT_FALSE(file.WriteSetting("P0", "C", "1"));
    EXPECT_EQ(ReadBytes(file.Path()), big);
}

// UTF-16 text of ASCII, with its byte-order mark when `mark`.
std::string Utf16(std::string_view ascii, bool bigEndian, bool mark = false) {
    std::string bytes = mark ? (bigEndian ? "\xFE\xFF"s : "\xFF\xFE"s) : ""s;
    for (const char c : ascii)
        bytes += bigEndian ? "\0"s + c : c + "\0"s;
    return bytes;
}

// Saved as "Unicode" by a Windows editor: read and edited in the file's own
// encoding, a character past the BMP kept; text that does not decode is
// neither misread nor rewritten.
TEST(SettingsFile, Utf16FilesAreReadAndWrittenInTheirEncoding) {
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        const std::string start = Utf16("[P0]\r\nC=255\r\n;", bigEndian, true);
        const std::string clef = bigEndian ? "\xD8\x34\xDD\x1E"s : "\x34\xD8\x1E\xDD"s; // U+1D11E
        TempFolder folder;
        SettingsFile file(folder / "config.ini");
        WriteBytes(file.Path(), start + clef);
        EXPECT_EQ(file.ReadSetting("p0", "c"), "255");
        ASSERT_TRUE(file.WriteSetting("P1", "X", "2"));
        EXPECT_EQ(ReadBytes(file.Path()), start + clef + Utf16("\r\n[P1]\r\nX=2\r\n", bigEndian));

        for (const std::string& broken :
             {start + clef.substr(2), start + clef.substr(0, 2), start + clef.substr(0, 1)}) {
            WriteBytes(file.Path(), broken);
            EXPECT_EQ(file.ReadSetting("P0", "C"), "");
            EXPECT_FALSE(file.WriteSetting("P0", "C", "1"));
            EXPECT_EQ(ReadBytes(file.Path()), broken);
        }
    }
}

// A read of a UTF-16 file stops at 2047 bytes on a whole character, so the
// value read saves back into the file's encoding.
TEST(SettingsFile, ALongUtf16ValueIsCutOnACharacterAndSavesBack) {
    std::string value; // "\u00E9" is two bytes of UTF-8: byte 2047 falls inside one
    for (int i = 0; i < 1100; ++i)
        value += "\xC3\xA9";
    for (const IniEncoding encoding : {IniEncoding::Utf16Le, IniEncoding::Utf16Be}) {
        TempFolder folder;
        SettingsFile file(folder / "config.ini");
        WriteBytes(file.Path(), EncodeIniText({"[P0]\r\nX=" + value + "\r\n", encoding}).value());
        const std::string read = file.ReadSetting("P0", "X");
        EXPECT_TRUE(read == value.substr(0, 2046)) << read.size() << " bytes read";
        EXPECT_TRUE(file.WriteSetting("P0", "X", read));
        EXPECT_EQ(file.ReadSetting("P0", "X"), read);
    }
}

// Reads stop at the size limit: a line cut there is not read (its value
// would be a different number), and a save that would grow the file past
// the limit is refused, so no save ever leaves a file readers cut.
TEST(SettingsFile, NothingIsReadFromACutLineAndNoSaveGrowsAFilePastTheLimit) {
    for (const bool utf16 : {false, true}) {
        SCOPED_TRACE(utf16 ? "UTF-16" : "8-bit");
        const auto text = [&](std::string_view ascii) {
            return utf16 ? Utf16(ascii, false) : std::string(ascii);
        };
        const std::size_t unit = utf16 ? 2 : 1;
        const std::string start = (utf16 ? "\xFF\xFE"s : ""s) + text("[P0]\r\nX=1\r\n;");
        const std::string tail = text("\r\n[P1]\r\nC=16711680\r\n");
        // The tail's "C=167" ends exactly at the limit.
        const std::size_t filler = (kMaxIniFileBytes - start.size() - tail.size()) / unit + 7;
        TempFolder folder;
        SettingsFile file(folder / "config.ini");
        WriteBytes(file.Path(), start + text(std::string(filler, 'x')) + tail + text(";;;;"));
        EXPECT_EQ(file.ReadSetting("P0", "X"), "1");
        EXPECT_EQ(file.ReadSetting("P1", "C"), "");

        // Just under the limit: a new section would take it over.
        const std::size_t nearlyFull = (kMaxIniFileBytes - start.size()) / unit - 8;
        const std::string whole = start + text(std::string(nearlyFull, 'x') + "\r\n");
        WriteBytes(file.Path(), whole);
        EXPECT_FALSE(file.WriteSetting("P1", "C", "16711680"));
        EXPECT_EQ(ReadBytes(file.Path()), whole);
        EXPECT_TRUE(file.WriteSetting("P0", "X", "2")) << "a change in place still fits";
    }
}

// Two running copies, each saving its own slot over and over: with the lock
// around every read-modify-write neither ever drops the other's section.
TEST(SettingsFile, TwoProcessesWritingTheirOwnSectionsKeepBoth) {
    TempFolder folder;
    const std::filesystem::path path = folder / "config.ini";
    constexpr int kRounds = 300;
    const auto writer = [&](const std::string& section) {
        SettingsFile file(path);
        bool ok = true;
        for (int round = 1; round <= kRounds; ++round) {
            std::vector<IniKeyValue> values;
            for (const char* key : {"X", "Y", "C", "R", "G", "B", "H", "S", "L"}) {
                values.push_back({key, std::to_string(round)});
            }
            ok = file.WriteSettings(section, values) && ok;
        }
        return ok;
    };
#ifdef _WIN32
    // No fork(): two threads stand in for the processes. Each writer opens
    // its own handles, and the writer lock excludes handles, not processes.
    bool ok[2] = {false, false};
    std::thread first([&] { ok[0] = writer("P1"); });
    std::thread second([&] { ok[1] = writer("P2"); });
    first.join();
    second.join();
    EXPECT_TRUE(ok[0] && ok[1]);
#else
    std::vector<pid_t> children;
    for (const std::string section : {"P1", "P2"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::_exit(writer(section) ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
#endif
    std::string expected;
    for (const std::string section : {"P1", "P2"}) {
        expected += "[" + section + "]\r\n";
        for (const char* key : {"X", "Y", "C", "R", "G", "B", "H", "S", "L"}) {
            expected += key + "="s + std::to_string(kRounds) + "\r\n";
        }
    }
    const std::string actual = ReadBytes(path);
    // Either section may have been created first.
    const std::string swapped =
        expected.substr(expected.size() / 2) + expected.substr(0, expected.size() / 2);
    EXPECT_TRUE(actual == expected || actual == swapped) << actual;
}

} // namespace
} // namespace huegrab

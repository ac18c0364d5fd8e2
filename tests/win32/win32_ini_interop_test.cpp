// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

namespace huegrab {
namespace {

// A fresh folder under the temp folder, removed with what it holds.
class TempFolder {
public:
    TempFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("huegrab-ini-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(::GetTickCount64()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::filesystem::path operator/(const char* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string SystemRead(const std::filesystem::path& file, const std::string& section,
                       const std::string& key) {
    char buffer[2048] = {};
    const DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                                    sizeof(buffer), file.string().c_str());
    return std::string(buffer, length);
}

bool SystemWrite(const std::filesystem::path& file, const std::string& section,
                 const std::string& key, const std::string& value) {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        file.string().c_str()) != 0;
}

struct Entry {
    std::string section;
    std::string key;
    std::string value;
};

// Colour slots as the program writes them: every key of a slot in order, a
// failed read (-1), relative coordinates with a fraction, an empty field, a
// key written twice (the second value replaces the first in place), and
// slots written out of order.
const std::vector<Entry> kSlots = [] {
    std::vector<Entry> entries;
    const char* keys[] = {"X", "Y", "C", "R", "G", "B", "H", "S", "L"};
    const char* p0[] = {"512", "384", "16711680", "0", "0", "255", "160", "240", "120"};
    const char* p7[] = {"-12.5", "239.5", "-1", "255", "255", "255", "160", "0", "240"};
    const char* p2[] = {"0", "0", "0", "", "", "", "", "", ""};
    for (int i = 0; i < 9; ++i)
        entries.push_back({"P0", keys[i], p0[i]});
    for (int i = 0; i < 9; ++i)
        entries.push_back({"P7", keys[i], p7[i]});
    for (int i = 0; i < 9; ++i)
        entries.push_back({"P2", keys[i], p2[i]});
    entries.push_back({"P0", "C", "255"});
    return entries;
}();

// What each key holds after all of kSlots was written.
std::string Final(const std::string& section, const std::string& key) {
    std::string value;
    for (const Entry& e : kSlots) {
        if (e.section == section && e.key == key)
            value = e.value;
    }
    return value;
}

TEST(Win32IniInterop, TheSystemReadsWhatTheStoreWrote) {
    const TempFolder folder;
    const auto file = folder / "config.ini";
    SettingsFile store(file);
    for (const Entry& e : kSlots)
        ASSERT_TRUE(store.WriteSetting(e.section, e.key, e.value)) << e.section << e.key;
    for (const Entry& e : kSlots) {
        EXPECT_EQ(SystemRead(file, e.section, e.key), Final(e.section, e.key))
            << e.section << " " << e.key;
        // Names match whatever their letter case.
        EXPECT_EQ(SystemRead(file, "p" + e.section.substr(1), e.key), Final(e.section, e.key));
    }
    EXPECT_EQ(SystemRead(file, "P1", "X"), "");
    EXPECT_EQ(SystemRead(file, "P0", "Q"), "");
}

TEST(Win32IniInterop, TheStoreReadsWhatTheSystemWrote) {
    const TempFolder folder;
    const auto file = folder / "config.ini";
    for (const Entry& e : kSlots)
        ASSERT_TRUE(SystemWrite(file, e.section, e.key, e.value));
    // A hand-edited file: a section and a key in lower case.
    ASSERT_TRUE(SystemWrite(file, "p3", "c", "65280"));
    const SettingsFile store(file);
    for (const Entry& e : kSlots)
        EXPECT_EQ(store.ReadSetting(e.section, e.key), Final(e.section, e.key))
            << e.section << " " << e.key;
    EXPECT_EQ(store.ReadSetting("P3", "C"), "65280");
    EXPECT_EQ(store.ReadSetting("P1", "X"), "");
}

// Both writers on one file, taking turns: each sees the other's keys and
// keeps them.
TEST(Win32IniInterop, TheStoreAndTheSystemShareOneFile) {
    const TempFolder folder;
    const auto file = folder / "config.ini";
    SettingsFile store(file);
    for (std::size_t i = 0; i < kSlots.size(); ++i) {
        const Entry& e = kSlots[i];
        if (i % 2 == 0)
            ASSERT_TRUE(store.WriteSetting(e.section, e.key, e.value));
        else
            ASSERT_TRUE(SystemWrite(file, e.section, e.key, e.value));
    }
    for (const Entry& e : kSlots) {
        EXPECT_EQ(store.ReadSetting(e.section, e.key), Final(e.section, e.key));
        EXPECT_EQ(SystemRead(file, e.section, e.key), Final(e.section, e.key));
    }
}

// Blanks and quotes around a value: whoever wrote it, both readers strip
// the blanks (space, tab, vertical tab) at either end and then one pair of
// matching quotes, so quotes keep blanks a value must keep.
TEST(Win32IniInterop, BlanksAroundAValueReadTheSameWhoeverWroteIt) {
    const struct {
        std::string written;
        std::string read;
    } cases[] = {
        {" 5", "5"},      {"  5 ", "5"},    {"\t5\t", "5"}, {"\v5", "5"}, {"\" 5 \"", " 5 "},
        {" ' 5' ", " 5"}, {"\" 5", "\" 5"}, {"5 6", "5 6"}, {"   ", ""},  {" \"\" ", ""},
    };
    const TempFolder folder;
    const auto ours = folder / "ours.ini";
    const auto system = folder / "system.ini";
    SettingsFile store(ours);
    for (const auto& c : cases) {
        ASSERT_TRUE(store.WriteSetting("P0", "X", c.written));
        ASSERT_TRUE(SystemWrite(system, "P0", "X", c.written));
        const std::string shown = testing::PrintToString(c.written);
        EXPECT_EQ(store.ReadSetting("P0", "X"), c.read) << shown;
        EXPECT_EQ(SystemRead(ours, "P0", "X"), c.read) << shown;
        EXPECT_EQ(SettingsFile(system).ReadSetting("P0", "X"), c.read) << shown;
        EXPECT_EQ(SystemRead(system, "P0", "X"), c.read) << shown;
    }
}

} // namespace
} // namespace huegrab

// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/color_slots.h"
#include "settings/settings_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <vector>

namespace huegrab {
namespace {

using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;

// An in-memory settings file that records every read and written key.
class RecordingStore final : public SettingsStore {
public:
    bool exists = true;
    IniDocument document;
    mutable std::vector<std::string> log;

    bool Exists() const override { return exists; }
    std::string ReadSetting(std::string_view section, std::string_view key) const override {
        log.push_back("read " + std::string(section) + " " + std::string(key));
        return document.Read(section, key);
    }
    bool WriteSettings(std::string_view section, std::span<const IniKeyValue> values) override {
        for (const IniKeyValue& entry : values) {
            log.push_back("write " + std::string(section) + " " + entry.key);
            document.Write(section, entry.key, entry.value);
        }
        exists = true;
        return true;
    }
};

std::vector<std::string> Expected(const std::string& verb, const std::string& section,
                                  const std::vector<std::string>& keys) {
    std::vector<std::string> lines;
    for (const std::string& key : keys) {
        lines.push_back(verb + " " + section + " " + key);
    }
    return lines;
}

const std::vector<std::string> kAllKeys = {"X", "Y", "C", "R", "G", "B", "H", "S", "L"};

// Fields as a tick leaves them for a red pixel at (100, 200).
PickedFields RedPick() {
    return {"100", "200", "255", "0000FF", "FF", "00", "00", "255", "0", "0", "0", "240", "120"};
}

TEST(ColorSlots, FirstRunWithoutAFileThenAClickOnSlotThree) {
    TempFolder folder;
    SettingsFile file(folder / "config.ini");
    ColorSlots slots(file);
    EXPECT_FALSE(slots.Restore().has_value());
    EXPECT_FALSE(file.Exists());

    const std::optional<LoadedSlot> loaded = slots.Click(2, RedPick());
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(ReadBytes(file.Path()), "[P0]\r\nX=100\r\nY=200\r\nC=255\r\nR=255\r\nG=0\r\nB=0\r\n"
                                      "H=0\r\nS=240\r\nL=120\r\n");
    EXPECT_EQ(loaded->fields, PickedFields{});
    EXPECT_EQ(loaded->swatch, Paint::Of(kEmptySwatchColor));
    EXPECT_EQ(loaded->slot, Paint::Of(kEmptySlotColor));
    EXPECT_EQ(slots.Focused(), 2);
}

TEST(ColorSlots, ClosingAtOnceOnFirstRunStoresNineEmptyKeys) {
    TempFolder folder;
    SettingsFile file(folder / "config.ini");
    ColorSlots slots(file);
    slots.Restore();
    EXPECT_TRUE(slots.SaveFocused(PickedFields{}));
    EXPECT_EQ(ReadBytes(file.Path()),
              "[P0]\r\nX=\r\nY=\r\nC=\r\nR=\r\nG=\r\nB=\r\nH=\r\nS=\r\nL=\r\n");
}

TEST(ColorSlots, ClickStoresTheFocusedSlotThenReadsTheClickedOneInOrder) {
    RecordingStore store;
    ColorSlots slots(store);
    slots.Click(5, RedPick());
    std::vector<std::string> expected = Expected("write", "P0", kAllKeys);
    const std::vector<std::string> reads = Expected("read", "P5", kAllKeys);
    expected.insert(expected.end(), reads.begin(), reads.end());
    EXPECT_EQ(store.log, expected);

    store.log.clear();
    slots.Click(1, RedPick());
    EXPECT_EQ(std::vector<std::string>(store.log.begin(), store.log.begin() + 9),
              Expected("write", "P5", kAllKeys));
    EXPECT_EQ(slots.Focused(), 1);

    store.log.clear();
    EXPECT_FALSE(slots.Click(10, RedPick()).has_value());
    EXPECT_FALSE(slots.Click(-1, RedPick()).has_value());
    EXPECT_TRUE(store.log.empty());
    EXPECT_EQ(slots.Focused(), 1);
}

TEST(ColorSlots, RestoreReadsSlotZeroAndOnlyTheColorOfTheOthers) {
    RecordingStore store;
    store.document = IniDocument("[P0]\r\nX=1\r\nY=2\r\nC=65280\r\nR=0\r\nG=255\r\nB=0\r\nH=80\r\n"
                                 "S=240\r\nL=120\r\n[P1]\r\nX=9\r\nC=255\r\nR=255\r\n"
                                 "[P3]\r\nC=\r\n[P7]\r\nC=-1\r\n[P8]\r\nC=blue\r\n");
    ColorSlots slots(store);
    const std::optional<RestoredSlots> restored = slots.Restore();
    ASSERT_TRUE(restored.has_value());

    std::vector<std::string> expected = Expected("read", "P0", {"X", "Y", "C"});
    for (int slot = 1; slot <= 9; ++slot) {
        expected.push_back("read P" + std::to_string(slot) + " C");
    }
    const std::vector<std::string> rest = Expected("read", "P0", {"R", "G", "B", "H", "S", "L"});
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(store.log, expected);

    const PickedFields fields{"1", "2",   "65280", "00FF00", "0",   "FF", "0",
                              "0", "255", "0",     "80",     "240", "120"};
    EXPECT_EQ(restored->fields, fields);
    EXPECT_EQ(restored->swatch, Paint::Of(0x00FF00));
    const Paint white = Paint::Of(kEmptySlotColor);
    const std::array<Paint, kColorSlotCount> expectedSlots = {
        Paint::Of(0x00FF00), Paint::Of(255), white, white, white, white, white,
        Paint::Of(0),        white,          white};
    EXPECT_EQ(restored->slotPaints, expectedSlots);
}

TEST(ColorSlots, EmptyColorOfSlotZeroIsWindowBackgroundAtStartupButWhiteOnAClick) {
    RecordingStore store;
    store.document = IniDocument("[P0]\r\nX=5\r\nC=\r\n");
    ColorSlots slots(store);
    const auto restored = slots.Restore();
    ASSERT_TRUE(restored.has_value());
    EXPECT_EQ(restored->slotPaints[0], Paint::WindowBackground());
    EXPECT_EQ(restored->swatch, Paint::Of(kEmptySwatchColor));
    EXPECT_EQ(restored->fields.hex, "");

    const auto loaded = slots.Click(0, restored->fields);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->slot, Paint::Of(kEmptySlotColor));
    EXPECT_EQ(loaded->fields.x, "5");
}

TEST(ColorSlots, ClickingTheFocusedSlotRebuildsTheHexTexts) {
    TempFolder folder;
    SettingsFile file(folder / "config.ini");
    ColorSlots slots(file);
    const PickedFields pick{"3", "4",  "330501", "050505", "05", "0B", "05",
                            "5", "11", "5",      "80",     "38", "8"};
    const auto loaded = slots.Click(0, pick);
    ASSERT_TRUE(loaded.has_value());
    const PickedFields expected{"3", "4",  "330501", "050B05", "5",  "B", "5",
                                "5", "11", "5",      "80",     "38", "8"};
    EXPECT_EQ(loaded->fields, expected);
    EXPECT_EQ(loaded->slot, Paint::Of(330501));
    EXPECT_EQ(loaded->swatch, Paint::Of(330501));
}

TEST(ColorSlots, StoredRedShowsBbggrrDigitsAndPaintsRed) {
    RecordingStore store;
    store.document = IniDocument("[P2]\r\nC=255\r\n");
    ColorSlots slots(store);
    const auto loaded = slots.Click(2, PickedFields{});
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->fields.hex, "0000FF");
    EXPECT_EQ(loaded->swatch, Paint::Of(0x0000FF));
    EXPECT_EQ(loaded->slot, Paint::Of(0x0000FF));
}

TEST(ColorSlots, HandEditedOddValuesShowSanely) {
    RecordingStore store;
    store.document = IniDocument("[P1]\nC=-1\nR=abc\nG=300\nB= 7 \n[P2]\nC=12a\nR=1.5\n");
    ColorSlots slots(store);
    const auto failedRead = slots.Click(1, PickedFields{});
    ASSERT_TRUE(failedRead.has_value());
    EXPECT_EQ(failedRead->fields.value, "-1");
    EXPECT_EQ(failedRead->fields.hex, "FFFFFF");
    EXPECT_EQ(failedRead->slot, Paint::Of(0));
    EXPECT_EQ(failedRead->swatch, Paint::Of(0));
    EXPECT_EQ(failedRead->fields.rHex, "");
    EXPECT_EQ(failedRead->fields.gHex, "12C");
    EXPECT_EQ(failedRead->fields.bHex, "7");

    const auto notANumber = slots.Click(2, PickedFields{});
    ASSERT_TRUE(notANumber.has_value());
    EXPECT_EQ(notANumber->fields.value, "12a");
    EXPECT_EQ(notANumber->fields.hex, "");
    EXPECT_EQ(notANumber->slot, Paint::Of(kEmptySlotColor));
    EXPECT_EQ(notANumber->swatch, Paint::Of(kEmptySwatchColor));
    EXPECT_EQ(notANumber->fields.rHex, "");
}

TEST(ColorSlots, ExitWritesOnlyTheFocusedSection) {
    TempFolder folder;
    SettingsFile file(folder / "config.ini");
    const std::string before = "[P0]\r\nX=1\r\n[P4]\r\nX=old\r\nC=7\r\n[P5]\r\nX=2\r\n";
    WriteBytes(file.Path(), before);
    ColorSlots slots(file);
    slots.Restore();
    slots.Click(4, RedPick());
    WriteBytes(file.Path(), before); // forget what the click stored
    ASSERT_TRUE(slots.SaveFocused(RedPick()));
    EXPECT_EQ(ReadBytes(file.Path()), "[P0]\r\nX=1\r\n[P4]\r\nX=100\r\nC=255\r\nY=200\r\nR=255\r\n"
                                      "G=0\r\nB=0\r\nH=0\r\nS=240\r\nL=120\r\n[P5]\r\nX=2\r\n");
}

} // namespace
} // namespace huegrab

// SPDX-License-Identifier: GPL-3.0-or-later
// The program's folder, as the system names it.

#include "platform/program_folder.h"
#include "platform/utf8_path.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace huegrab::platform {
namespace {

TEST(ProgramFolder, HoldsTheRunningProgram) {
    const std::optional<std::string> folder = ProgramFolder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(std::filesystem::is_regular_file(PathFromUtf8(*folder + "/" HUEGRAB_TEST_PROGRAM)))
        << *folder;
#ifdef _WIN32
    // The form the settings path is built from: drive, "/" between the names.
    EXPECT_EQ(folder->find('\\'), std::string::npos) << *folder;
    EXPECT_EQ(folder->rfind("\\\\?\\", 0), std::string::npos) << *folder;
    ASSERT_GE(folder->size(), 3u);
    EXPECT_EQ(folder->substr(1, 2), ":/") << *folder;
#else
    EXPECT_EQ(folder->front(), '/') << *folder;
#endif
    EXPECT_NE(folder->back(), '/') << *folder;
}

} // namespace
} // namespace huegrab::platform

// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_path.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <vector>

namespace huegrab {
namespace {

struct FakeEnvironment {
    std::map<std::string, std::string> variables;
    bool writable = true;
    std::set<std::string> files;
    std::string askedFolder;

    SettingsPathEnvironment Get() {
        return {
            [this](const char* name) -> std::optional<std::string> {
                const auto found = variables.find(name);
                return found == variables.end() ? std::nullopt
                                                : std::optional<std::string>(found->second);
            },
            [this](const std::string& folder) {
                askedFolder = folder;
                return writable;
            },
            [this](const std::string& path) { return files.contains(path); },
        };
    }
};

TEST(SettingsPath, WritableFolderKeepsTheFileBesideTheProgramWithTheSeparatorAlwaysAdded) {
    FakeEnvironment env;
    env.variables = {{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/home/ann/cfg"}};
    EXPECT_EQ(SettingsPath("/opt/huegrab", env.Get(), false), "/opt/huegrab/config.ini");
    EXPECT_EQ(env.askedFolder, "/opt/huegrab");
    EXPECT_EQ(SettingsPath("/opt/huegrab/", env.Get(), false), "/opt/huegrab//config.ini");
    EXPECT_EQ(SettingsPath("/", env.Get(), false), "//config.ini");
}

#ifdef _WIN32
TEST(SettingsPath, ReadOnlyFolderMovesTheFileToTheUsersAppData) {
    FakeEnvironment env;
    env.writable = false;
    env.variables = {{"APPDATA", "C:\\Users\\ann\\AppData\\Roaming"}};
    EXPECT_EQ(SettingsPath("C:\\Program Files\\huegrab", env.Get(), false),
              "C:\\Users\\ann\\AppData\\Roaming\\huegrab/config.ini");
    env.variables["APPDATA"] = "";
    EXPECT_EQ(SettingsPath("C:\\Program Files\\huegrab", env.Get(), false),
              "C:\\Program Files\\huegrab/config.ini");
}
#else
TEST(SettingsPath, ReadOnlyFolderMovesTheFileToTheUsersConfigFolder) {
    FakeEnvironment env;
    env.writable = false;
    env.variables = {{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/home/ann/cfg"}};
    EXPECT_EQ(SettingsPath("/usr/bin", env.Get(), false), "/home/ann/cfg/huegrab/config.ini");
    env.variables["XDG_CONFIG_HOME"] = "";
    EXPECT_EQ(SettingsPath("/usr/bin", env.Get(), false), "/home/ann/.config/huegrab/config.ini");
    env.variables["XDG_CONFIG_HOME"] = "relative/cfg";
    EXPECT_EQ(SettingsPath("/usr/bin", env.Get(), false), "/home/ann/.config/huegrab/config.ini");
    env.variables.clear();
    EXPECT_EQ(SettingsPath("/usr/bin", env.Get(), false), "/usr/bin/config.ini");
}
#endif

TEST(SettingsPath, PortableBuildStaysBesideTheProgramEvenWhenReadOnly) {
    FakeEnvironment env;
    env.writable = false;
    env.variables = {{"HOME", "/home/ann"}};
    EXPECT_EQ(SettingsPath("/media/stick/huegrab", env.Get(), true),
              "/media/stick/huegrab/config.ini");
}

#ifndef _WIN32
// Installed or not, told by the launcher entry the installation puts beside
// the program's folder; writability only decides for a copy that is not.
TEST(SettingsPath, AnInstalledProgramKeepsItsSettingsInTheUsersFolderWhereverItMayWrite) {
    const std::string mark(InstallationMark());
    struct Case {
        const char* what;
        std::string folder;
        std::set<std::string> files;
        bool writable;
        bool portable;
        std::string expected;
    };
    const std::string user = "/home/ann/cfg/huegrab/config.ini";
    const std::vector<Case> cases = {
        {"system prefix", "/usr/bin", {"/usr/bin/" + mark}, false, false, user},
        {"writable prefix",
         "/home/ann/.local/bin",
         {"/home/ann/.local/bin/" + mark},
         true,
         false,
         user},
        {"build tree",
         "/home/ann/src/build/app",
         {},
         true,
         false,
         "/home/ann/src/build/app/config.ini"},
        {"unpacked archive",
         "/home/ann/huegrab-1.0",
         {},
         true,
         false,
         "/home/ann/huegrab-1.0/config.ini"},
        {"read-only copy", "/media/cd/huegrab", {}, false, false, user},
        {"another program's entry",
         "/home/ann/.local/bin",
         {"/home/ann/.local/bin/../share/applications/other.desktop"},
         true,
         false,
         "/home/ann/.local/bin/config.ini"},
        {"portable build in a prefix",
         "/home/ann/.local/bin",
         {"/home/ann/.local/bin/" + mark},
         true,
         true,
         "/home/ann/.local/bin/config.ini"},
    };
    for (const Case& c : cases) {
        FakeEnvironment env;
        env.variables = {{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/home/ann/cfg"}};
        env.files = c.files;
        env.writable = c.writable;
        EXPECT_EQ(SettingsPath(c.folder, env.Get(), c.portable), c.expected) << c.what;
    }
}

// The same rule on real folders, laid out as `make install` and a build
// tree leave them, with the system's own file test.
TEST(SettingsPath, RealFolderLayoutsAreToldApartByTheInstalledLauncherEntry) {
    const auto root = std::filesystem::temp_directory_path() /
                      ("huegrab-settings-path-" +
                       std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(root);
    const auto prefixBin = root / "prefix" / "bin";
    const auto buildApp = root / "build" / "app";
    std::filesystem::create_directories(prefixBin);
    std::filesystem::create_directories(buildApp);
    const auto entry = prefixBin / std::string(InstallationMark());
    std::filesystem::create_directories(entry.parent_path());
    std::ofstream(entry) << "[Desktop Entry]\n";

    SettingsPathEnvironment env = SystemSettingsPathEnvironment();
    env.getEnv = [](const char* name) -> std::optional<std::string> {
        if (std::string_view(name) == "XDG_CONFIG_HOME")
            return "/home/ann/cfg";
        return std::nullopt;
    };
    EXPECT_EQ(SettingsPath(prefixBin.string(), env, false), "/home/ann/cfg/huegrab/config.ini");
    EXPECT_EQ(SettingsPath(buildApp.string(), env, false), buildApp.string() + "/config.ini");
    // A folder named share/applications/<entry> is no launcher entry.
    std::filesystem::remove(entry);
    std::filesystem::create_directories(entry);
    EXPECT_EQ(SettingsPath(prefixBin.string(), env, false), prefixBin.string() + "/config.ini");
    std::filesystem::remove_all(root);
}
#endif

} // namespace
} // namespace huegrab

#include "settings/settings_path.h"

#include <gtest/gtest.h>
#include <map>

namespace huegrab {
namespace {

struct FakeEnvironment {
    std::map<std::string, std::string> variables;
    bool writable = true;
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

} // namespace
} // namespace huegrab

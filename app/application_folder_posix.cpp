#include "app/application_folder.h"

#include <QCoreApplication>
#include <filesystem>
#include <system_error>

namespace huegrab {

std::string ApplicationFolder() {
    // Qt decodes the path as UTF-8 and would turn other bytes into U+FFFD,
    // naming a folder that does not exist.
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && executable.is_absolute())
        return executable.parent_path().native();
    return QCoreApplication::applicationDirPath().toStdString();
}

} // namespace huegrab

#include "app/application_folder.h"

#include <QCoreApplication>

namespace huegrab {

std::string ApplicationFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

} // namespace huegrab

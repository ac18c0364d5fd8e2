#pragma once

#include <string>

namespace huegrab {

// The folder of the running executable, where config.ini is looked for
// first: the path's own bytes on POSIX (a folder whose name is not UTF-8
// must still be found), UTF-8 on Windows. Needs the QCoreApplication.
std::string ApplicationFolder();

} // namespace huegrab

// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/app/process_cpu.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace huegrab::bench {

double ProcessCpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string content((std::istreambuf_iterator<char>(stat)), {});
    const auto name_end = content.rfind(')');
    if (name_end == std::string::npos || name_end + 2 > content.size())
        return 0;
    // Fields after the command name, which is in parentheses; utime and
    // stime are fields 14 and 15.
    std::istringstream fields(content.substr(name_end + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14)
            utime = std::stoull(field);
        if (index == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace huegrab::bench

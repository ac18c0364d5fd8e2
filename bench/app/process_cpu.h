// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

namespace huegrab::bench {

// User plus system CPU seconds a process has used so far, from /proc; 0 when
// the process is gone.
double ProcessCpuSeconds(pid_t pid);

} // namespace huegrab::bench

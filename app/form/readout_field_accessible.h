// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace huegrab {

// Lets screen readers read a readout field as they read a read-only line
// edit: its text, selection and characters; and a readout label as a label.
// Installed once per process.
void InstallReadoutAccessibility();

} // namespace huegrab

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_folder.h"
#include "platform/win32/kernel_handles.h"
#include "platform/win32/wide_text.h"

#include <string_view>
#include <vector>
#include <windows.h>

namespace huegrab::platform {
namespace {

// The executable's full name as the loader has it; empty when it cannot say.
std::wstring ModuleName() {
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2); // cut off: ask again with more room
    }
}

// The name with links and junctions resolved, as a canonical path is; the
// name itself when the file cannot be opened to ask.
std::wstring FinalName(const std::wstring& name) {
    const win32::UniqueFile file(
        ::CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return name;
    const DWORD needed = ::GetFinalPathNameByHandleW(file.Get(), nullptr, 0, FILE_NAME_NORMALIZED);
    if (needed == 0)
        return name;
    std::wstring final(needed, L'\0');
    const DWORD length =
        ::GetFinalPathNameByHandleW(file.Get(), final.data(), needed, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= needed)
        return name;
    final.resize(length);
    // "\\?\C:\..." and "\\?\UNC\server\share\..." as they are usually written.
    constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\";
    constexpr std::wstring_view kLong = L"\\\\?\\";
    if (final.starts_with(kUnc))
        return L"\\\\" + final.substr(kUnc.size());
    if (final.starts_with(kLong))
        return final.substr(kLong.size());
    return final;
}

} // namespace

std::optional<std::string> ProgramFolder() {
    const std::wstring module = ModuleName();
    if (module.empty())
        return std::nullopt;
    std::string path = win32::ToUtf8(FinalName(module));
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return std::nullopt;
    // A drive's root keeps its slash: "C:/", not "C:", which names the
    // drive's current folder.
    path.resize(slash == 2 && path[1] == ':' ? slash + 1 : slash);
    return path;
}

} // namespace huegrab::platform

// Whole-file reads and writes, and paths of scratch files under the user's temp folder.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

using Bytes = std::vector<BYTE>;

// A path in the temp folder, unique to this process; the file is not created.
inline std::wstring TempPath(const std::wstring& name)
{
    WCHAR base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    return base + std::to_wstring(::GetCurrentProcessId()) + L"-" + name;
}

inline Bytes ReadAllBytes(const std::wstring& path)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    Bytes bytes(::GetFileSize(h, nullptr));
    DWORD got = 0;
    const BOOL read = ::ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    ::CloseHandle(h);
    bytes.resize(read ? got : 0);
    return bytes;
}

inline bool WriteAllBytes(const std::wstring& path, const Bytes& bytes)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const bool ok =
        ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
    ::CloseHandle(h);
    return ok;
}

inline bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder under the user's temp folder for one test, removed with its contents afterwards;
// whole-file reads and writes.
#pragma once
#include <windows.h>
#include <vector>
#include "framework/Strings.h"

class TempFolder
{
public:
    TempFolder()
    {
        WCHAR base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        static int serial = 0;
        m_path.Format(L"%sumbrafen-test-%u-%d", base, GetCurrentProcessId(), ++serial);
        CreateDirectoryW(m_path, nullptr);
    }
    ~TempFolder() { RemoveTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const CString& Path() const { return m_path; }
    CString File(LPCWSTR name) const { return m_path + L"\\" + name; }

private:
    static void RemoveTree(const CString& dir)
    {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(dir + L"\\*", &fd);
        for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &fd)) {
            const CString name(fd.cFileName), full = dir + L"\\" + name;
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(full);
            else if (name != L"." && name != L"..")
                RemoveTree(full);
        }
        if (h != INVALID_HANDLE_VALUE)
            FindClose(h);
        RemoveDirectoryW(dir);
    }

    CString m_path;
};

inline std::vector<BYTE> ReadAllBytes(LPCWSTR path)
{
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::vector<BYTE> bytes(GetFileSize(h, nullptr));
    DWORD got = 0;
    const BOOL read = ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(h);
    bytes.resize(read ? got : 0);
    return bytes;
}

inline bool WriteAllBytes(LPCWSTR path, const std::vector<BYTE>& bytes)
{
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
    CloseHandle(h);
    return ok;
}

inline bool FileExists(LPCWSTR path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

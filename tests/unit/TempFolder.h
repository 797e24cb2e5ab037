// A fresh folder under the user's temp folder for one test, removed with its files afterwards.
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

    static void RemoveTree(const CString& dir)
    {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(dir + L"\\*", &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const CString name(fd.cFileName);
                if (name == L"." || name == L"..")
                    continue;
                const CString full = dir + L"\\" + name;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(full);
                else
                    DeleteFileW(full);
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(dir);
    }

private:
    CString m_path;
};

inline std::vector<BYTE> ReadAllBytes(LPCWSTR path)
{
    std::vector<BYTE> bytes;
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    BYTE chunk[4096];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    CloseHandle(h);
    return bytes;
}

inline bool WriteAllBytes(LPCWSTR path, const std::vector<BYTE>& bytes)
{
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    const bool ok = bytes.empty() ||
        (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size());
    CloseHandle(h);
    return ok;
}

inline bool FileExists(LPCWSTR path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

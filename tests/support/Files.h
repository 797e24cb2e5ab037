// Whole-file reads and writes, and paths of scratch files under the user's temp folder.
#pragma once
#include <windows.h>
#include <filesystem>
#include <fstream>
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
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline bool WriteAllBytes(const std::wstring& path, const Bytes& bytes)
{
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    return out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size()) && out.flush();
}

// The little-endian DWORD at offset, as the data file holds its fields.
inline DWORD At(const Bytes& b, size_t offset)
{
    return b.at(offset) | b.at(offset + 1) << 8 | b.at(offset + 2) << 16 | DWORD(b.at(offset + 3)) << 24;
}

inline bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

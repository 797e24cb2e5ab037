#include "framework/Strings.h"
#include <cstdarg>
#include <cwchar>
#include <cwctype>

// The CRT's own wide formatters, bound by symbol name so that MinGW's
// __USE_MINGW_ANSI_STDIO (which libstdc++ always turns on) cannot swap in its
// C99 printf, where %s in a wide format would mean narrow text.
extern "C" int __cdecl UmbrafenCrtVscwprintf(const wchar_t* format, va_list args) __asm__("_vscwprintf");
extern "C" int __cdecl UmbrafenCrtVsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format,
                                             va_list args) __asm__("_vsnwprintf");

namespace {

std::wstring FormatToString(LPCWSTR pszFormat, va_list args)
{
    std::wstring out;
    if (!pszFormat) return out;
    va_list measure;
    va_copy(measure, args);
    const int n = UmbrafenCrtVscwprintf(pszFormat, measure);
    va_end(measure);
    if (n <= 0) return out;   // an invalid format yields nothing rather than garbage
    out.resize(n);
    UmbrafenCrtVsnwprintf(out.data(), n, pszFormat, args);
    return out;
}

}   // namespace

int CString::Compare(LPCWSTR psz) const
{
    return wcscmp(m_str.c_str(), psz ? psz : L"");
}

int CString::CompareNoCase(LPCWSTR psz) const
{
    return _wcsicmp(m_str.c_str(), psz ? psz : L"");
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew)
{
    const size_t oldLen = pszOld ? wcslen(pszOld) : 0;
    if (oldLen == 0) return 0;
    const std::wstring with = pszNew ? pszNew : L"";
    std::wstring out;
    int count = 0;
    size_t from = 0;
    for (size_t at; (at = m_str.find(pszOld, from, oldLen)) != std::wstring::npos; from = at + oldLen)
    {
        out.append(m_str, from, at - from);
        out += with;
        ++count;
    }
    if (count)
    {
        out.append(m_str, from, std::wstring::npos);
        m_str.swap(out);
    }
    return count;
}

CString& CString::MakeLower()
{
    if (!m_str.empty()) CharLowerBuffW(m_str.data(), static_cast<DWORD>(m_str.size()));
    return *this;
}

int CString::Find(LPCWSTR pszSub, int iStart) const
{
    if (!pszSub || iStart < 0 || iStart > GetLength()) return -1;
    const size_t at = m_str.find(pszSub, iStart);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(WCHAR ch, int iStart) const
{
    if (iStart < 0 || iStart >= GetLength()) return -1;
    const size_t at = m_str.find(ch, iStart);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int nCount) const
{
    nCount = nCount < 0 ? 0 : (nCount > GetLength() ? GetLength() : nCount);
    return CString(m_str.c_str(), nCount);
}

CString CString::Mid(int iFirst) const
{
    return Mid(iFirst, GetLength());
}

CString CString::Mid(int iFirst, int nCount) const
{
    if (iFirst < 0) iFirst = 0;
    if (iFirst >= GetLength() || nCount <= 0) return CString();
    if (nCount > GetLength() - iFirst) nCount = GetLength() - iFirst;
    return CString(m_str.c_str() + iFirst, nCount);
}

CString& CString::Trim()
{
    size_t first = 0, end = m_str.size();
    while (first < end && iswspace(m_str[first])) ++first;
    while (end > first && iswspace(m_str[end - 1])) --end;
    m_str = m_str.substr(first, end - first);
    return *this;
}

LPWSTR CString::GetBuffer(int nMinLength)
{
    if (nMinLength > GetLength()) m_str.resize(nMinLength);
    return m_str.data();
}

LPWSTR CString::GetBufferSetLength(int nLength)
{
    m_str.resize(nLength < 0 ? 0 : nLength);
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0) nNewLength = static_cast<int>(wcsnlen(m_str.c_str(), m_str.size()));
    m_str.resize(nNewLength);
}

BOOL CString::LoadString(UINT nID)
{
    LPCWSTR text = nullptr;
    // With a zero buffer size LoadStringW hands out the resource text itself (not terminated).
    const int len = ::LoadStringW(GetModuleHandleW(nullptr), nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (len <= 0 || !text) return FALSE;
    m_str.assign(text, len);
    return TRUE;
}

void CString::FormatImpl(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    // Formatted aside first: an argument may be this very string.
    m_str = FormatToString(pszFormat, args);
    va_end(args);
}

void CString::AppendFormatImpl(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    m_str += FormatToString(pszFormat, args);
    va_end(args);
}

void CStringArray::SetSize(INT_PTR nNewSize, INT_PTR /*nGrowBy*/)
{
    m_items.resize(nNewSize < 0 ? 0 : static_cast<size_t>(nNewSize));
}

void CStringArray::SetAtGrow(INT_PTR i, LPCWSTR psz)
{
    if (i >= GetSize()) m_items.resize(static_cast<size_t>(i) + 1);
    m_items.at(i) = psz;
}

BOOL CMapStringToString::Lookup(LPCWSTR key, CString& rValue) const
{
    const auto it = m_map.find(CString(key));
    if (it == m_map.end()) return FALSE;
    rValue = it->second;
    return TRUE;
}

// A POSITION is the address of a map node's entry; std::map nodes never move.
POSITION CMapStringToString::GetStartPosition() const
{
    if (m_map.empty()) return nullptr;
    return reinterpret_cast<POSITION>(const_cast<Map::value_type*>(&*m_map.begin()));
}

void CMapStringToString::GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const
{
    const auto* entry = reinterpret_cast<const Map::value_type*>(rNextPosition);
    rKey = entry->first;
    rValue = entry->second;
    auto next = m_map.upper_bound(entry->first);
    rNextPosition = next == m_map.end() ? nullptr : reinterpret_cast<POSITION>(const_cast<Map::value_type*>(&*next));
}

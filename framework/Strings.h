// Strings and string containers.
//   CString             UTF-16 text with value semantics
//   CStringArray        growable array of CString
//   CMapStringToString  CString -> CString map with POSITION iteration
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

// Opaque iteration cookie of the collection classes.
struct __POSITION
{};
typedef __POSITION* POSITION;

class CString
{
public:
    CString() = default;
    CString(LPCWSTR psz) : m_str(psz ? psz : L"") {}
    CString(LPCWSTR pch, int nLength) : m_str(pch ? pch : L"", pch ? nLength : 0) {}
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCWSTR psz)
    {
        m_str = psz ? psz : L"";
        return *this;
    }

    operator LPCWSTR() const { return m_str.c_str(); }
    LPCWSTR GetString() const { return m_str.c_str(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    WCHAR operator[](int i) const { return m_str.at(i); }
    CString& operator=(WCHAR ch)
    {
        m_str.assign(1, ch);
        return *this;
    }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    CString& operator+=(const CString& s)
    {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(LPCWSTR psz)
    {
        if (psz) m_str += psz;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const CString& a, LPCWSTR b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(LPCWSTR a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }

    // Ordinal comparisons, as the platform's CString does them.
    int Compare(LPCWSTR psz) const;
    int CompareNoCase(LPCWSTR psz) const;
    friend bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
    // != and the reversed forms come from C++20's rewritten comparisons.
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

    int Replace(LPCWSTR pszOld, LPCWSTR pszNew);
    CString& MakeLower();
    CString& Trim();   // white space at both ends
    int Find(LPCWSTR pszSub, int iStart = 0) const;
    int Find(WCHAR ch, int iStart = 0) const;
    CString Left(int nCount) const;
    CString Mid(int iFirst) const;
    CString Mid(int iFirst, int nCount) const;

    // Direct buffer access: write up to nMinLength characters, then ReleaseBuffer.
    LPWSTR GetBuffer(int nMinLength = 0);
    LPWSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Loads string resource nID of the executable; FALSE if there is none.
    BOOL LoadString(UINT nID);

    // printf-style formatting with the platform's meaning of the format: %s and %c
    // take WIDE arguments, whatever MinGW's C99 stdio switch says. CString arguments
    // may be passed as they are, as with the platform's own class.
    template <typename... Args> void Format(LPCWSTR pszFormat, const Args&... args)
    {
        FormatImpl(pszFormat, VarArg(args)...);
    }
    template <typename... Args> void AppendFormat(LPCWSTR pszFormat, const Args&... args)
    {
        AppendFormatImpl(pszFormat, VarArg(args)...);
    }

private:
    static LPCWSTR VarArg(const CString& s) { return s.GetString(); }
    template <typename T> static const T& VarArg(const T& v)
    {
        static_assert(std::is_trivially_copyable_v<T>, "only plain values go through a format");
        return v;
    }
    void FormatImpl(LPCWSTR pszFormat, ...);
    void AppendFormatImpl(LPCWSTR pszFormat, ...);

    std::wstring m_str;
};

class CStringArray
{
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
    // nGrowBy is a growth hint only; std::vector grows on its own.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);

    const CString& GetAt(INT_PTR i) const { return m_items.at(i); }
    CString& operator[](INT_PTR i) { return m_items.at(i); }
    void SetAtGrow(INT_PTR i, LPCWSTR psz);

private:
    std::vector<CString> m_items;
};

class CMapStringToString
{
public:
    // The block size only tunes allocation in the platform's map; nodes here are allocated one by one.
    explicit CMapStringToString(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    CMapStringToString(const CMapStringToString&) = delete;
    CMapStringToString& operator=(const CMapStringToString&) = delete;

    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_map.size()); }

    BOOL Lookup(LPCWSTR key, CString& rValue) const;
    CString& operator[](LPCWSTR key) { return m_map[CString(key)]; }
    BOOL RemoveKey(LPCWSTR key) { return m_map.erase(CString(key)) != 0; }
    void RemoveAll() { m_map.clear(); }

    // Walk: pos = GetStartPosition(); while (pos) GetNextAssoc(pos, key, value);
    // Adding or removing other entries during a walk leaves the position valid.
    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const;

private:
    typedef std::map<CString, CString> Map;
    Map m_map;
};

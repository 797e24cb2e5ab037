#include "settings/ValueText.h"
#include <algorithm>
#include <climits>

std::vector<CString> SplitText(const CString& text, WCHAR separator)
{
    std::vector<CString> pieces;
    int from = 0;
    for (;;)
    {
        const int at = text.Find(separator, from);
        CString piece = at < 0 ? text.Mid(from) : text.Mid(from, at - from);
        pieces.push_back(piece.Trim());
        if (at < 0) return pieces;
        from = at + 1;
    }
}

BOOL ParseDecimal(const CString& text, int& value)
{
    if (text.IsEmpty()) return FALSE;
    long long v = 0;
    for (int i = 0; i < text.GetLength(); ++i)
    {
        const WCHAR c = text[i];
        if (c < L'0' || c > L'9') return FALSE;
        v = std::min<long long>(v * 10 + (c - L'0'), INT_MAX);
    }
    value = static_cast<int>(v);
    return TRUE;
}

BOOL ParseDisplayList(const CString& text, std::vector<int>& numbers)
{
    if (CString(text).Trim().CompareNoCase(L"all") == 0)
    {
        numbers.clear();
        return TRUE;
    }
    std::vector<int> list;
    for (const CString& piece : SplitText(text, L','))
    {
        int n = 0;
        if (!ParseDecimal(piece, n) || n < 1 || n > MaxDisplayNumber) return FALSE;
        list.push_back(n);
    }
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    numbers = list;
    return TRUE;
}

CString DisplayListText(const std::vector<int>& numbers)
{
    if (numbers.empty()) return L"all";
    CString text;
    for (int n : numbers) text.AppendFormat(text.IsEmpty() ? L"%d" : L",%d", n);
    return text;
}

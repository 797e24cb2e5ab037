// MinGW's C99 stdio reads %s in a wide format as NARROW text. Switch it on before any
// include, so this file proves that Format keeps the platform's meaning regardless.
#define __USE_MINGW_ANSI_STDIO 1
#include <gtest/gtest.h>
#include <cwchar>
#include <set>
#include "framework/Strings.h"

namespace {

TEST(CStringFormat, PercentSTakesWideTextUnderC99Stdio)
{
    // Guards the rest: if the switch stops taking effect this file no longer tests it.
    wchar_t buf[32] = {};
    swprintf(buf, 32, L"%s", "narrow");
    ASSERT_STREQ(L"narrow", buf);

    CString s;
    const CString title(L"About");
    s.Format(L"%s - %s", title, L"Umbrafen");  // CString arguments go through as they are
    EXPECT_STREQ(L"About - Umbrafen", s);
    s.AppendFormat(L"\\%s", L"x");
    EXPECT_STREQ(L"About - Umbrafen\\x", s);
    s.Format(L"<%s>", std::wstring(5000, L'x').c_str());  // longer than any first guess at the buffer
    EXPECT_EQ(5002, s.GetLength());
}

TEST(CStringFormat, IntegerConversions)
{
    CString s;
    s.Format(L"%d|%u", -42, 4000000000u);
    EXPECT_STREQ(L"-42|4000000000", s);
    // Above 2^32, then text: a 32-bit read would give 5 and misalign the next argument.
    s.Format(L"%llu:%s", 0x100000005ULL, L"next");
    EXPECT_STREQ(L"4294967301:next", s);
    s.Format(L"%llu", 18446744073709551615ULL);
    EXPECT_STREQ(L"18446744073709551615", s);
}

TEST(CStringEdit, ReplaceCountsNonOverlappingMatchesAndCaseRules)
{
    CString three(L"a\\\\\\b");
    EXPECT_EQ(1, three.Replace(L"\\\\", L"\\"));
    EXPECT_STREQ(L"a\\\\b", three);
    CString grow(L"aXbX");
    EXPECT_EQ(2, grow.Replace(L"X", L"--"));
    EXPECT_STREQ(L"a--b--", grow);
    EXPECT_EQ(0, grow.Replace(L"\\", L"/"));

    CString s(L"\\\\.\\DISPLAY1");
    s.MakeLower();
    EXPECT_STREQ(L"\\\\.\\display1", s);
    EXPECT_NE(0, s.Compare(L"\\\\.\\DISPLAY1"));
    EXPECT_EQ(0, s.CompareNoCase(L"\\\\.\\DISPLAY1"));
    EXPECT_LT(CString(L"apple").CompareNoCase(L"BANANA"), 0);
    EXPECT_LT(CString(L"Umbra").Compare(L"Umbrafen"), 0);
}

TEST(CStringArrayTest, SetSizeEmptiesAndSetAtGrowAppends)
{
    CStringArray a;
    for (LPCWSTR text : {L"first", L"second", L"third"}) a.SetAtGrow(a.GetSize(), text);
    EXPECT_EQ(3, a.GetSize());
    EXPECT_STREQ(L"second", a[1]);
    a.SetSize(0, -1);
    EXPECT_EQ(0, a.GetSize());
    a.SetAtGrow(a.GetSize(), L"again");
    EXPECT_STREQ(L"again", a.GetAt(0));
}

TEST(CMapStringToStringTest, LookupReplaceRemoveAndWalk)
{
    CMapStringToString map(10);
    CString value(L"untouched");
    EXPECT_FALSE(map.Lookup(L"65552", value));
    EXPECT_STREQ(L"untouched", value);
    map[L"65552"] = L"1234";
    map[L"65552"] = L"4321";  // same key: replaced, not added
    EXPECT_EQ(1, map.GetCount());
    EXPECT_TRUE(map.Lookup(L"65552", value));
    EXPECT_STREQ(L"4321", value);
    EXPECT_TRUE(map.RemoveKey(L"65552"));
    EXPECT_FALSE(map.RemoveKey(L"65552"));
    EXPECT_TRUE(map.IsEmpty());

    for (int i = 0; i < 50; ++i) {
        CString k, v;
        k.Format(L"%d", i * 7919);
        v.Format(L"v%d", i);
        map.SetAt(k, v);
    }
    std::set<std::wstring> seen;
    CString key, expected;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(seen.insert(key.GetString()).second) << "visited twice";
        EXPECT_TRUE(map.Lookup(key, expected));
        EXPECT_EQ(expected, value);
    }
    EXPECT_EQ(50u, seen.size());
    map.RemoveAll();
    EXPECT_EQ(nullptr, map.GetStartPosition());
}

} // namespace

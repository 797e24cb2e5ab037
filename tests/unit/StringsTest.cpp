// MinGW's C99 stdio reads %s in a wide format as NARROW text. Switch it on before any
// include, so this file proves that Format keeps the platform's meaning regardless.
#define __USE_MINGW_ANSI_STDIO 1
#include <gtest/gtest.h>
#include <cwchar>
#include <set>
#include "framework/Strings.h"

namespace {

TEST(CStringFormat, C99StdioIsReallyOnInThisFile)
{
    // Guards the next tests: if this stops holding they no longer test the switch.
    wchar_t buf[32] = {};
    swprintf(buf, 32, L"%s", "narrow");
    EXPECT_STREQ(L"narrow", buf);
}

TEST(CStringFormat, PercentSTakesWideText)
{
    CString s;
    s.Format(L"%s - %s", L"Display Device(s)", L"Umbrafen");
    EXPECT_STREQ(L"Display Device(s) - Umbrafen", s);

    const CString title(L"About"), app(L"Umbrafen");
    s.Format(L"%s - %s", title, app);  // CString arguments go through as they are
    EXPECT_STREQ(L"About - Umbrafen", s);
}

TEST(CStringFormat, IntegerConversions)
{
    CString s;
    s.Format(L"%d|%u|%x|%X|%02X", -42, 4000000000u, 0xbeefu, 0xbeefu, 7);
    EXPECT_STREQ(L"-42|4000000000|beef|BEEF|07", s);

    const unsigned long long big = 0x100000005ULL;  // above 2^32: a 32-bit read would give 5
    s.Format(L"%llu", big);
    EXPECT_STREQ(L"4294967301", s);
    s.Format(L"%I64u", 18446744073709551615ULL);
    EXPECT_STREQ(L"18446744073709551615", s);
    // A 64-bit value followed by text: a wrong width would misalign the next argument.
    s.Format(L"%llu:%s", big, L"next");
    EXPECT_STREQ(L"4294967301:next", s);
}

TEST(CStringFormat, CharacterAppendAndSelfReference)
{
    CString s;
    s.Format(L"[%c]", L'\x00e9');
    EXPECT_STREQ(L"[\x00e9]", s);

    s = L"Monitor";
    s.Format(L"%s %d", s, 2);  // the old value is still readable while formatting
    EXPECT_STREQ(L"Monitor 2", s);
    s.AppendFormat(L" of %d", 3);
    EXPECT_STREQ(L"Monitor 2 of 3", s);

    std::wstring longText(5000, L'x');
    s.Format(L"<%s>", longText.c_str());
    EXPECT_EQ(5002, s.GetLength());
}

TEST(CStringEdit, ReplaceCountsNonOverlappingMatches)
{
    CString path(L"C:\\\\Users\\\\me\\UmbrafenData.dat");
    EXPECT_EQ(2, path.Replace(L"\\\\", L"\\"));
    EXPECT_STREQ(L"C:\\Users\\me\\UmbrafenData.dat", path);
    EXPECT_EQ(0, path.Replace(L"\\\\", L"\\"));

    CString three(L"a\\\\\\b");
    EXPECT_EQ(1, three.Replace(L"\\\\", L"\\"));
    EXPECT_STREQ(L"a\\\\b", three);

    CString grow(L"aXbX");
    EXPECT_EQ(2, grow.Replace(L"X", L"--"));
    EXPECT_STREQ(L"a--b--", grow);
    EXPECT_EQ(0, grow.Replace(L"", L"y"));
}

TEST(CStringEdit, RemoveLowerUpper)
{
    CString s(L"\\\\.\\DISPLAY1-A-");
    EXPECT_EQ(2, s.Remove(L'-'));
    EXPECT_STREQ(L"\\\\.\\DISPLAY1A", s);
    EXPECT_EQ(0, s.Remove(L'-'));
    s.MakeLower();
    EXPECT_STREQ(L"\\\\.\\display1a", s);
    s.MakeUpper();
    EXPECT_STREQ(L"\\\\.\\DISPLAY1A", s);
}

TEST(CStringCompare, CaseRulesAndOrder)
{
    const CString name(L"Umbrafen");
    EXPECT_EQ(0, name.Compare(L"Umbrafen"));
    EXPECT_NE(0, name.Compare(L"umbrafen"));
    EXPECT_EQ(0, name.CompareNoCase(L"uMBRAFEN"));
    EXPECT_LT(CString(L"apple").CompareNoCase(L"BANANA"), 0);
    EXPECT_GT(CString(L"Zebra").CompareNoCase(L"apple"), 0);
    EXPECT_LT(CString(L"Umbra").Compare(L"Umbrafen"), 0);
    EXPECT_TRUE(name == L"Umbrafen");
    EXPECT_TRUE(L"Umbrafen" == name);
    EXPECT_TRUE(name != L"UMBRAFEN");
}

TEST(CStringEdit, SubstringsFindTrimAndBuffer)
{
    const CString s(L"  Monitor ID  ");
    CString t = s;
    t.Trim();
    EXPECT_STREQ(L"Monitor ID", t);
    EXPECT_EQ(8, t.Find(L"ID"));
    EXPECT_EQ(-1, t.Find(L"id"));
    EXPECT_EQ(7, t.Find(L' '));
    EXPECT_STREQ(L"Mon", t.Left(3));
    EXPECT_STREQ(L"ID", t.Right(2));
    EXPECT_STREQ(L"itor", t.Mid(3, 4));
    EXPECT_STREQ(L"Monitor ID", t.Left(99));
    EXPECT_STREQ(L"", t.Mid(40));

    CString b;
    wcscpy(b.GetBuffer(260), L"C:\\x");
    b.ReleaseBuffer();
    EXPECT_EQ(4, b.GetLength());
    b.GetBufferSetLength(2);
    EXPECT_STREQ(L"C:", b);
}

TEST(CStringArrayTest, GrowAddAndSize)
{
    CStringArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(0, a.Add(L"first"));
    a.SetAtGrow(3, L"fourth");
    EXPECT_EQ(4, a.GetSize());
    EXPECT_STREQ(L"first", a[0]);
    EXPECT_TRUE(a.GetAt(1).IsEmpty());
    EXPECT_STREQ(L"fourth", a.GetAt(3));
    a.ElementAt(1) = L"second";
    EXPECT_STREQ(L"second", a[1]);
    a.SetSize(2, 10);
    EXPECT_EQ(2, a.GetCount());
    a.RemoveAll();
    EXPECT_EQ(0, a.GetSize());
}

TEST(CMapStringToStringTest, LookupReplaceRemove)
{
    CMapStringToString map(10);
    CString value(L"untouched");
    EXPECT_FALSE(map.Lookup(L"65552", value));
    EXPECT_STREQ(L"untouched", value);

    map[L"65552"] = L"1234";
    map.SetAt(L"65553", L"5678");
    map[L"65552"] = L"4321";  // same key: replaced, not added
    EXPECT_EQ(2, map.GetCount());
    EXPECT_TRUE(map.Lookup(L"65552", value));
    EXPECT_STREQ(L"4321", value);

    EXPECT_TRUE(map.RemoveKey(L"65552"));
    EXPECT_FALSE(map.RemoveKey(L"65552"));
    EXPECT_FALSE(map.Lookup(L"65552", value));
    EXPECT_EQ(1, map.GetCount());
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(nullptr, map.GetStartPosition());
}

TEST(CMapStringToStringTest, WalkVisitsEveryEntryOnce)
{
    CMapStringToString map;
    for (int i = 0; i < 50; ++i) {
        CString k, v;
        k.Format(L"%d", i * 7919);
        v.Format(L"v%d", i);
        map[k] = v;
    }
    std::set<std::wstring> seen;
    int visits = 0;
    CString key, value;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, value);
        ++visits;
        seen.insert(key.GetString());
        CString expected;
        EXPECT_TRUE(map.Lookup(key, expected));
        EXPECT_EQ(expected, value);
    }
    EXPECT_EQ(50, visits);
    EXPECT_EQ(50u, seen.size());
}

} // namespace

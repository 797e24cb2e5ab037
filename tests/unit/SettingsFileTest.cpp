#include <gtest/gtest.h>
#include <cstring>
#include <shlobj.h>
#include "framework/ModuleState.h"
#include "settings/AppSettings.h"
#include "tests/unit/TempFolder.h"

namespace {

DWORD U32At(const std::vector<BYTE>& b, size_t off)
{
    DWORD v = 0;
    memcpy(&v, &b.at(off + 3) - 3, 4);
    return v;
}

ULONGLONG U64At(const std::vector<BYTE>& b, size_t off)
{
    ULONGLONG v = 0;
    memcpy(&v, &b.at(off + 7) - 7, 8);
    return v;
}

// 445 bytes where every 4-byte window differs, so any shifted field reads a wrong value.
std::vector<BYTE> PatternFile()
{
    std::vector<BYTE> b(445);
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<BYTE>(i * 37 + 11);
    return b;
}

class SettingsFile : public ::testing::Test
{
protected:
    void SetUp() override { ResetAppSettings(); }
    void TearDown() override { ResetAppSettings(); }

    // Loads path and returns the number of CArchiveException* (endOfFile) that came out.
    int LoadCountingEndOfFile(const CString& path)
    {
        int thrown = 0;
        try {
            SaveLoadSettingsAt(path, FALSE);
        } catch (CArchiveException* e) {
            EXPECT_EQ(CArchiveException::endOfFile, e->m_cause);
            ++thrown;
            e->Delete();
        }
        return thrown;
    }

    static void ExpectFreshFromAlphaOn()
    {
        const AppSettingsRecord fresh;
        const AppSettingsRecord& s = AppSettings;
        EXPECT_EQ(150, s.Alpha);
        EXPECT_EQ(0, s.AutoMinimize);
        EXPECT_EQ(1, s.Passthrough);
        EXPECT_EQ(0, s.TurnOffMonitors);
        EXPECT_EQ(0u, s.Reserved1 | s.Reserved2 | s.Reserved3 | s.Reserved4);
        // The aggregates byte for byte (none of them has padding inside).
        EXPECT_EQ(0, memcmp(fresh.CheckedState, s.CheckedState, sizeof s.CheckedState));
        EXPECT_EQ(0, memcmp(fresh.CheckedKey, s.CheckedKey, sizeof s.CheckedKey));
        EXPECT_EQ(0, memcmp(fresh.ColumnWidths, s.ColumnWidths, sizeof s.ColumnWidths));
        EXPECT_EQ(0, memcmp(&fresh.Placement, &s.Placement, sizeof s.Placement));
        EXPECT_EQ(0, memcmp(&fresh.ListFont, &s.ListFont, sizeof s.ListFont));
    }

    TempFolder m_tmp;
};

TEST_F(SettingsFile, FreshValues)
{
    const AppSettingsRecord& s = AppSettings;
    EXPECT_EQ(1u, s.Reserved0);
    EXPECT_EQ(RGB(0, 0, 0), s.WindowColor);
    EXPECT_EQ(1, s.OnTop);
    EXPECT_EQ(0, s.InAltTab);
    EXPECT_EQ(150, s.Alpha);
    EXPECT_EQ(0, s.AutoMinimize);
    EXPECT_EQ(1, s.Passthrough);
    EXPECT_EQ(0, s.TurnOffMonitors);
    EXPECT_EQ(44u, s.Placement.length);
    EXPECT_EQ(0, s.Placement.rcNormalPosition.right - s.Placement.rcNormalPosition.left);
    EXPECT_EQ(0, s.ListFont.lfWeight);
    for (int i = 0; i < StoredCheckLimit; ++i) {
        EXPECT_EQ(0u, s.CheckedState[i]);
        EXPECT_EQ(0u, s.CheckedKey[i]);
    }
    for (int w : s.ColumnWidths)
        EXPECT_EQ(0, w);
}

TEST_F(SettingsFile, FieldsLandAtTheirOffsets)
{
    AppSettingsRecord& s = AppSettings;
    s.Reserved0 = 0xA1A2A3A4;
    s.WindowColor = 0x00112233;
    s.OnTop = 0x0B0B0B01;
    s.InAltTab = 0x0C0C0C01;
    s.Alpha = 0xAB;
    s.AutoMinimize = 0x17171717;
    s.Passthrough = 0x21212121;
    s.TurnOffMonitors = 0x25252525;
    s.Reserved4 = 0x41414141;
    s.CheckedState[0] = 0x45454545;
    s.CheckedKey[0] = 0x4949494949494949ULL;
    s.CheckedState[19] = 0x27327327;
    s.CheckedKey[19] = 0x2772772772772772ULL;
    for (int i = 0; i < 7; ++i)
        s.ColumnWidths[i] = 100 + i;
    s.Placement.flags = 0x30930930;
    s.Placement.ptMinPosition = {-317, 321};
    s.Placement.ptMaxPosition = {325, -329};
    s.Placement.rcNormalPosition = {333, 337, 341, 345};
    s.Placement.showCmd = 0x34934934;
    s.ListFont.lfHeight = -353;
    s.ListFont.lfWeight = 700;
    s.ListFont.lfItalic = 0x73;
    s.ListFont.lfPitchAndFamily = 0x80;
    wcscpy(s.ListFont.lfFaceName, L"Segoe UI");
    s.ListFont.lfFaceName[31] = L'\x2603';  // beyond the terminator, still stored

    const CString path = m_tmp.File(L"UmbrafenData.dat");
    SaveLoadSettingsAt(path, TRUE);
    const std::vector<BYTE> b = ReadAllBytes(path);
    ASSERT_EQ(445u, b.size());

    EXPECT_EQ(0xA1A2A3A4u, U32At(b, 0));
    EXPECT_EQ(0x00112233u, U32At(b, 4));
    EXPECT_EQ(0x0B0B0B01u, U32At(b, 8));
    EXPECT_EQ(0x0C0C0C01u, U32At(b, 12));
    EXPECT_EQ(0xAB, b[16]);
    EXPECT_EQ(0x17171717u, U32At(b, 17));
    EXPECT_EQ(0x21212121u, U32At(b, 21));
    EXPECT_EQ(0x25252525u, U32At(b, 25));
    EXPECT_EQ(0x41414141u, U32At(b, 41));
    EXPECT_EQ(0x45454545u, U32At(b, 45));
    EXPECT_EQ(0x4949494949494949ULL, U64At(b, 49));
    EXPECT_EQ(0x27327327u, U32At(b, 45 + 12 * 19));
    EXPECT_EQ(0x2772772772772772ULL, U64At(b, 45 + 12 * 19 + 4));
    EXPECT_EQ(100u, U32At(b, 285));
    EXPECT_EQ(105u, U32At(b, 305));
    EXPECT_EQ(0x30930930u, U32At(b, 309));
    EXPECT_EQ(106u, U32At(b, 313));
    EXPECT_EQ(static_cast<DWORD>(-317), U32At(b, 317));
    EXPECT_EQ(static_cast<DWORD>(-329), U32At(b, 329));
    EXPECT_EQ(333u, U32At(b, 333));
    EXPECT_EQ(345u, U32At(b, 345));
    EXPECT_EQ(0x34934934u, U32At(b, 349));
    EXPECT_EQ(static_cast<DWORD>(-353), U32At(b, 353));
    EXPECT_EQ(700u, U32At(b, 369));
    EXPECT_EQ(0x73, b[373]);
    EXPECT_EQ(0x80, b[380]);
    EXPECT_EQ(L'S', b[381] | (b[382] << 8));
    EXPECT_EQ(0, b[381 + 16] | b[382 + 16]);  // the terminator after "Segoe UI"
    EXPECT_EQ(0x2603, b[443] | (b[444] << 8));
}

TEST_F(SettingsFile, LoadThenStoreWritesTheSameBytes)
{
    const std::vector<BYTE> original = PatternFile();
    const CString in = m_tmp.File(L"in.dat"), out = m_tmp.File(L"out.dat");
    ASSERT_TRUE(WriteAllBytes(in, original));
    EXPECT_EQ(0, LoadCountingEndOfFile(in));
    EXPECT_EQ(sizeof(WINDOWPLACEMENT), AppSettings.Placement.length);
    EXPECT_EQ(original[16], AppSettings.Alpha);
    EXPECT_EQ(U32At(original, 313), static_cast<DWORD>(AppSettings.ColumnWidths[6]));
    EXPECT_EQ(U32At(original, 349), AppSettings.Placement.showCmd);
    SaveLoadSettingsAt(out, TRUE);
    EXPECT_EQ(original, ReadAllBytes(out));
}

TEST_F(SettingsFile, StoreEmptiesALongerExistingFile)
{
    const CString path = m_tmp.File(L"UmbrafenData.dat");
    ASSERT_TRUE(WriteAllBytes(path, std::vector<BYTE>(1000, 0xEE)));
    SaveLoadSettingsAt(path, TRUE);
    const std::vector<BYTE> b = ReadAllBytes(path);
    ASSERT_EQ(445u, b.size());
    EXPECT_EQ(1u, U32At(b, 0));
    EXPECT_EQ(150, b[16]);
}

TEST_F(SettingsFile, FileCutAfterSixteenBytes)
{
    const std::vector<BYTE> pattern = PatternFile();
    const CString path = m_tmp.File(L"short.dat");
    ASSERT_TRUE(WriteAllBytes(path, std::vector<BYTE>(pattern.begin(), pattern.begin() + 16)));
    EXPECT_EQ(1, LoadCountingEndOfFile(path));
    EXPECT_EQ(U32At(pattern, 0), AppSettings.Reserved0);
    EXPECT_EQ(U32At(pattern, 4), AppSettings.WindowColor);
    EXPECT_EQ(U32At(pattern, 8), static_cast<DWORD>(AppSettings.OnTop));
    EXPECT_EQ(U32At(pattern, 12), static_cast<DWORD>(AppSettings.InAltTab));
    ExpectFreshFromAlphaOn();
}

TEST_F(SettingsFile, FileCutInsideAFieldKeepsThatFieldFresh)
{
    const std::vector<BYTE> pattern = PatternFile();
    const CString path = m_tmp.File(L"short.dat");
    ASSERT_TRUE(WriteAllBytes(path, std::vector<BYTE>(pattern.begin(), pattern.begin() + 19)));
    EXPECT_EQ(1, LoadCountingEndOfFile(path));
    EXPECT_EQ(pattern[16], AppSettings.Alpha);
    EXPECT_EQ(0, AppSettings.AutoMinimize);
    EXPECT_EQ(1, AppSettings.Passthrough);

    // Cut inside the face name: every earlier field arrives.
    ASSERT_TRUE(WriteAllBytes(path, std::vector<BYTE>(pattern.begin(), pattern.begin() + 444)));
    ResetAppSettings();
    EXPECT_EQ(1, LoadCountingEndOfFile(path));
    EXPECT_EQ(U32At(pattern, 349), AppSettings.Placement.showCmd);
    EXPECT_EQ(pattern[441] | (pattern[442] << 8), AppSettings.ListFont.lfFaceName[30]);
    EXPECT_EQ(0, AppSettings.ListFont.lfFaceName[31]);
}

TEST_F(SettingsFile, SurplusBytesAreIgnored)
{
    std::vector<BYTE> longer = PatternFile();
    longer.insert(longer.end(), 100, 0xFF);
    const CString in = m_tmp.File(L"long.dat"), out = m_tmp.File(L"out.dat");
    ASSERT_TRUE(WriteAllBytes(in, longer));
    EXPECT_EQ(0, LoadCountingEndOfFile(in));
    SaveLoadSettingsAt(out, TRUE);
    EXPECT_EQ(PatternFile(), ReadAllBytes(out));
}

TEST_F(SettingsFile, MissingFileOrFolderChangesNothing)
{
    AppSettings.Alpha = 77;  // whatever the record holds stays
    const CString missing = m_tmp.File(L"none.dat");
    EXPECT_EQ(0, LoadCountingEndOfFile(missing));
    EXPECT_EQ(77, AppSettings.Alpha);
    EXPECT_EQ(1, AppSettings.Passthrough);
    EXPECT_FALSE(FileExists(missing));

    const CString noFolder = m_tmp.File(L"no\\such\\folder.dat");
    SaveLoadSettingsAt(noFolder, TRUE);  // silently skipped
    EXPECT_FALSE(FileExists(noFolder));
    SaveLoadSettingsAt(L"", FALSE);  // an unknown data-file path is no file at all
    EXPECT_EQ(77, AppSettings.Alpha);
}

TEST(DataFilePath, SingleBackslashesAndFolderCreated)
{
    TempFolder tmp;
    const CString base = tmp.Path();
    EXPECT_STREQ(base + L"\\Umbrafen\\UmbrafenData.dat", BuildDataFilePath(base, L"Umbrafen"));
    const DWORD attrs = GetFileAttributesW(base + L"\\Umbrafen");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attrs);
    EXPECT_TRUE(attrs & FILE_ATTRIBUTE_DIRECTORY);

    // A folder path ending in a backslash.
    EXPECT_STREQ(base + L"\\Umbrafen\\UmbrafenData.dat", BuildDataFilePath(base + L"\\", L"Umbrafen"));
    // An empty application name.
    EXPECT_STREQ(base + L"\\UmbrafenData.dat", BuildDataFilePath(base, L""));
    // Both at once still leaves no doubled separator.
    EXPECT_STREQ(base + L"\\UmbrafenData.dat", BuildDataFilePath(base + L"\\", L""));
}

TEST(DataFilePath, StoreAndLoadThroughTheLocalAppDataFolder)
{
    WCHAR appData[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData));
    CString appName;
    appName.Format(L"UmbrafenUnitTest%u", GetCurrentProcessId());
    AFX_MODULE_STATE* state = AfxGetModuleState();
    const LPCWSTR savedName = state->m_lpszCurrentAppName;
    state->m_lpszCurrentAppName = appName;

    CString path;
    GetDataFilePath(path);
    CString expected;
    expected.Format(L"%s\\%s\\UmbrafenData.dat", appData, appName);
    expected.Replace(L"\\\\", L"\\");
    EXPECT_EQ(expected, path);

    ResetAppSettings();
    AppSettings.WindowColor = RGB(10, 20, 30);
    SaveLoadSettings(TRUE);
    EXPECT_EQ(445u, ReadAllBytes(path).size());
    ResetAppSettings();
    SaveLoadSettings(FALSE);
    EXPECT_EQ(RGB(10, 20, 30), AppSettings.WindowColor);

    ResetAppSettings();
    state->m_lpszCurrentAppName = savedName;
    DeleteFileW(path);
    RemoveDirectoryW(CString(appData) + L"\\" + appName);
}

} // namespace

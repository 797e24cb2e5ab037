// The data file byte for byte: 445 bytes, fields packed in a fixed order, short files read as far as they go.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <shlobj.h>
#include "framework/ModuleState.h"
#include "settings/AppSettings.h"
#include "tests/unit/TempFolder.h"

namespace {

using Bytes = std::vector<BYTE>;

ULONGLONG At(const Bytes& b, size_t off, size_t size = 4)
{
    ULONGLONG v = 0;
    memcpy(&v, &b.at(off + size - 1) - (size - 1), size);
    return v;
}

// 445 bytes in which every 2- and 4-byte window differs (the step changes at offset 256), so a field
// read from or written to a wrong offset shows.
Bytes PatternFile()
{
    Bytes b(445);
    for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<BYTE>(i < 256 ? i * 37 + 11 : i * 73 + 5);
    return b;
}

class SettingsFile : public ::testing::Test
{
protected:
    void SetUp() override { ResetAppSettings(); }
    void TearDown() override { ResetAppSettings(); }

    // Loads bytes from a file and returns how many CArchiveException* (endOfFile) came out.
    int Load(const Bytes& bytes)
    {
        const CString path = m_tmp.File(L"in.dat");
        EXPECT_TRUE(WriteAllBytes(path, bytes));
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
    Bytes Store()
    {
        const CString path = m_tmp.File(L"out.dat");
        SaveLoadSettingsAt(path, TRUE);
        return ReadAllBytes(path);
    }

    TempFolder m_tmp;
};

TEST_F(SettingsFile, FreshRecordReplacesALongerFile)
{
    ASSERT_TRUE(WriteAllBytes(m_tmp.File(L"out.dat"), Bytes(1000, 0xEE)));
    Bytes fresh(445);
    fresh[0] = 1;     // Reserved0
    fresh[8] = 1;     // OnTop
    fresh[16] = 150;  // Alpha
    fresh[21] = 1;    // Passthrough
    EXPECT_EQ(fresh, Store());
}

// Every field is read from its offset and written back to it; surplus bytes are ignored.
TEST_F(SettingsFile, FieldsLoadFromAndStoreToTheirOffsets)
{
    Bytes longer = PatternFile();
    longer.insert(longer.end(), 100, 0xFF);
    EXPECT_EQ(0, Load(longer));
    const AppSettingsRecord& s = AppSettings;
    const WINDOWPLACEMENT& p = s.Placement;
    const LOGFONTW& f = s.ListFont;
    const struct { size_t offset, size; ULONGLONG value; } fields[] = {
        {0, 4, s.Reserved0}, {4, 4, s.WindowColor}, {8, 4, DWORD(s.OnTop)}, {12, 4, DWORD(s.InAltTab)},
        {16, 1, s.Alpha}, {17, 4, DWORD(s.AutoMinimize)}, {21, 4, DWORD(s.Passthrough)},
        {25, 4, DWORD(s.TurnOffMonitors)}, {41, 4, s.Reserved4}, {45, 4, s.CheckedState[0]},
        {49, 8, s.CheckedKey[0]}, {45 + 12 * 19, 4, s.CheckedState[19]}, {49 + 12 * 19, 8, s.CheckedKey[19]},
        {285, 4, DWORD(s.ColumnWidths[0])}, {305, 4, DWORD(s.ColumnWidths[5])}, {309, 4, p.flags},
        {313, 4, DWORD(s.ColumnWidths[6])}, {317, 4, DWORD(p.ptMinPosition.x)}, {329, 4, DWORD(p.ptMaxPosition.y)},
        {333, 4, DWORD(p.rcNormalPosition.left)}, {345, 4, DWORD(p.rcNormalPosition.bottom)}, {349, 4, p.showCmd},
        {353, 4, DWORD(f.lfHeight)}, {369, 4, DWORD(f.lfWeight)}, {373, 1, f.lfItalic},
        {380, 1, f.lfPitchAndFamily}, {381, 2, f.lfFaceName[0]}, {443, 2, f.lfFaceName[31]},
    };
    for (const auto& field : fields)
        EXPECT_EQ(At(longer, field.offset, field.size), field.value) << "offset " << field.offset;
    EXPECT_EQ(sizeof(WINDOWPLACEMENT), p.length);   // not stored
    EXPECT_EQ(PatternFile(), Store());
}

// A short file raises exactly one end-of-file exception; every complete field before the cut
// arrives, the field cut through and all after it keep their fresh values.
TEST_F(SettingsFile, ShortFileKeepsFreshValuesFromTheCutOn)
{
    const Bytes pattern = PatternFile();
    // Cut just before Alpha, two bytes into AutoMinimize, one byte into the last face-name character.
    const struct { size_t cut, freshFrom; } cases[] = {{16, 16}, {19, 17}, {444, 443}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cut);
        ResetAppSettings();
        EXPECT_EQ(1, Load(Bytes(pattern.begin(), pattern.begin() + c.cut)));
        const Bytes stored = Store();
        ResetAppSettings();
        const Bytes fresh = Store();
        EXPECT_TRUE(std::equal(pattern.begin(), pattern.begin() + c.freshFrom, stored.begin()));
        EXPECT_TRUE(std::equal(fresh.begin() + c.freshFrom, fresh.end(), stored.begin() + c.freshFrom));
    }
}

TEST_F(SettingsFile, MissingFileOrFolderChangesNothing)
{
    AppSettings.Alpha = 77;  // whatever the record holds stays
    const CString missing = m_tmp.File(L"none.dat");
    SaveLoadSettingsAt(missing, FALSE);
    EXPECT_FALSE(FileExists(missing));
    const CString noFolder = m_tmp.File(L"no\\such\\folder.dat");
    SaveLoadSettingsAt(noFolder, TRUE);  // silently skipped
    EXPECT_FALSE(FileExists(noFolder));
    SaveLoadSettingsAt(L"", FALSE);  // an unknown data-file path is no file at all
    EXPECT_EQ(77, AppSettings.Alpha);
    EXPECT_EQ(1, AppSettings.Passthrough);
}

TEST(DataFilePath, SingleBackslashesAndFolderCreated)
{
    TempFolder tmp;
    const CString base = tmp.Path();
    EXPECT_STREQ(base + L"\\Umbrafen\\UmbrafenData.dat", BuildDataFilePath(base, L"Umbrafen"));
    const DWORD attrs = GetFileAttributesW(base + L"\\Umbrafen");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attrs);
    EXPECT_TRUE(attrs & FILE_ATTRIBUTE_DIRECTORY);
    // A folder ending in a backslash, an empty application name, or both: no doubled separator.
    EXPECT_STREQ(base + L"\\Umbrafen\\UmbrafenData.dat", BuildDataFilePath(base + L"\\", L"Umbrafen"));
    EXPECT_STREQ(base + L"\\UmbrafenData.dat", BuildDataFilePath(base, L""));
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
    EXPECT_EQ(CString(appData) + L"\\" + appName + L"\\UmbrafenData.dat", path);

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

// The store replaces the file in one step: a write that fails half-way leaves the old file
// whole, reports the error, and leaves no temporary file behind.
TEST(AtomicStore, FailureHalfWayKeepsTheOldFileAndSuccessReplacesIt)
{
    TempFolder tmp;
    const CString path = tmp.File(L"UmbrafenData.dat");
    const Bytes old = PatternFile();
    ASSERT_TRUE(WriteAllBytes(path, old));
    const auto writeThenFail = [](CFile& file) {
        const BYTE half[200] = {1, 2, 3};
        file.Write(half, sizeof half);
        throw new CFileException(CFileException::diskFull, ERROR_DISK_FULL, file.GetFilePath());
    };
    CFileException* thrown = nullptr;
    try {
        StoreFileAtomically(path, writeThenFail);
    } catch (CFileException* e) {
        thrown = e;
    }
    ASSERT_NE(thrown, nullptr);
    EXPECT_EQ(thrown->m_cause, CFileException::diskFull);
    thrown->Delete();
    EXPECT_EQ(ReadAllBytes(path), old);
    EXPECT_FALSE(FileExists(path + L".tmp"));

    ResetAppSettings();
    SaveLoadSettingsAt(path, TRUE);
    EXPECT_EQ(ReadAllBytes(path).size(), SettingsFileSize);
    EXPECT_FALSE(FileExists(path + L".tmp"));
}

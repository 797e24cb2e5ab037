// The data file byte for byte: 445 bytes, fields packed in a fixed order, short files read as far as they go,
// and a store that replaces the file in one step.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include "settings/AppSettings.h"
#include "tests/support/Files.h"

namespace {

ULONGLONG At(const Bytes& b, size_t off, size_t size)
{
    ULONGLONG v = 0;
    memcpy(&v, &b.at(off + size - 1) - (size - 1), size);
    return v;
}

// Every 2- and 4-byte window differs (the step changes at offset 256), so a field at a wrong offset shows.
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
    void TearDown() override
    {
        ResetAppSettings();
        ::DeleteFileW(m_path.c_str());
    }
    // Loads the bytes and returns how many end-of-file exceptions came out.
    int Load(const Bytes& bytes)
    {
        EXPECT_TRUE(WriteAllBytes(m_path, bytes));
        int thrown = 0;
        try
        {
            SaveLoadSettingsAt(m_path.c_str(), FALSE);
        }
        catch (CArchiveException* e)
        {
            EXPECT_EQ(CArchiveException::endOfFile, e->m_cause);
            ++thrown;
            e->Delete();
        }
        return thrown;
    }
    Bytes Store()
    {
        SaveLoadSettingsAt(m_path.c_str(), TRUE);
        return ReadAllBytes(m_path);
    }
    const std::wstring m_path = TempPath(L"UmbrafenData.dat");
};

TEST_F(SettingsFile, FreshRecordReplacesALongerFile)
{
    ASSERT_TRUE(WriteAllBytes(m_path, Bytes(1000, 0xEE)));
    Bytes fresh(445);
    fresh[0] = 1;      // Reserved0
    fresh[8] = 1;      // OnTop
    fresh[16] = 150;   // Alpha
    fresh[21] = 1;     // Passthrough
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
    const struct
    {
        size_t offset, size;
        ULONGLONG value;
    } fields[] = {
        {0, 4, s.Reserved0},
        {4, 4, s.WindowColor},
        {8, 4, DWORD(s.OnTop)},
        {12, 4, DWORD(s.InAltTab)},
        {16, 1, s.Alpha},
        {17, 4, DWORD(s.AutoMinimize)},
        {21, 4, DWORD(s.Passthrough)},
        {25, 4, DWORD(s.TurnOffMonitors)},
        {41, 4, s.Reserved4},
        {45, 4, s.CheckedState[0]},
        {49, 8, s.CheckedKey[0]},
        {45 + 12 * 19, 4, s.CheckedState[19]},
        {49 + 12 * 19, 8, s.CheckedKey[19]},
        {285, 4, DWORD(s.ColumnWidths[0])},
        {305, 4, DWORD(s.ColumnWidths[5])},
        {309, 4, p.flags},
        {313, 4, DWORD(s.ColumnWidths[6])},
        {317, 4, DWORD(p.ptMinPosition.x)},
        {329, 4, DWORD(p.ptMaxPosition.y)},
        {333, 4, DWORD(p.rcNormalPosition.left)},
        {345, 4, DWORD(p.rcNormalPosition.bottom)},
        {349, 4, p.showCmd},
        {353, 4, DWORD(f.lfHeight)},
        {369, 4, DWORD(f.lfWeight)},
        {373, 1, f.lfItalic},
        {380, 1, f.lfPitchAndFamily},
        {381, 2, f.lfFaceName[0]},
        {443, 2, f.lfFaceName[31]},
    };
    for (const auto& field : fields)
        EXPECT_EQ(At(longer, field.offset, field.size), field.value) << "offset " << field.offset;
    EXPECT_EQ(sizeof(WINDOWPLACEMENT), p.length);   // not stored
    EXPECT_EQ(PatternFile(), Store());
}

// A short file raises one end-of-file exception; every complete field before the cut arrives, the field
// cut through and all after it keep their fresh values.
TEST_F(SettingsFile, ShortFileKeepsFreshValuesFromTheCutOn)
{
    const Bytes pattern = PatternFile();
    // Just before Alpha, two bytes into AutoMinimize, one byte into the last face-name character.
    const struct
    {
        size_t cut, freshFrom;
    } cases[] = {{16, 16}, {19, 17}, {444, 443}};
    for (const auto& c : cases)
    {
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
    AppSettings.Alpha = 77;
    SaveLoadSettingsAt(m_path.c_str(), FALSE);
    const std::wstring noFolder = TempPath(L"no\\such\\folder.dat");
    SaveLoadSettingsAt(noFolder.c_str(), TRUE);   // silently skipped
    EXPECT_FALSE(FileExists(noFolder));
    SaveLoadSettingsAt(L"", FALSE);   // an unknown data-file path is no file at all
    EXPECT_EQ(77, AppSettings.Alpha);
    EXPECT_EQ(1, AppSettings.Passthrough);
}

// A folder ending in a backslash or an empty application name gives no doubled separator.
TEST(DataFilePath, SingleBackslashesAndFolderCreated)
{
    const CString base = TempPath(L"appdata").c_str();
    ::CreateDirectoryW(base, nullptr);
    EXPECT_STREQ(base + L"\\Umbrafen\\UmbrafenData.dat", BuildDataFilePath(base + L"\\", L"Umbrafen"));
    EXPECT_TRUE(::GetFileAttributesW(base + L"\\Umbrafen") & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_STREQ(base + L"\\UmbrafenData.dat", BuildDataFilePath(base, L""));
    ::RemoveDirectoryW(base + L"\\Umbrafen");
    ::RemoveDirectoryW(base);
}

// A write that fails half-way leaves the old file whole, reports the error and leaves no temporary file.
TEST_F(SettingsFile, FailureHalfWayKeepsTheOldFile)
{
    const Bytes old = PatternFile();
    ASSERT_TRUE(WriteAllBytes(m_path, old));
    CFileException* thrown = nullptr;
    try
    {
        StoreFileAtomically(m_path.c_str(), [](CFile& file) {
            const BYTE half[200] = {1, 2, 3};
            file.Write(half, sizeof half);
            throw new CFileException(CFileException::diskFull, ERROR_DISK_FULL, file.GetFilePath());
        });
    }
    catch (CFileException* e)
    {
        thrown = e;
    }
    ASSERT_NE(thrown, nullptr);
    EXPECT_EQ(thrown->m_cause, CFileException::diskFull);
    thrown->Delete();
    EXPECT_EQ(ReadAllBytes(m_path), old);
    EXPECT_FALSE(FileExists(m_path + L".tmp"));
}

}   // namespace

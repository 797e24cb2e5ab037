// The data file byte for byte: 445 bytes of packed fields, short files read as far as they go, stores in one step.
#include <cstring>
#include <thread>
#include "settings/AppSettings.h"
#include "tests/support/GuiSupport.h"

namespace {

// Every 2- and 4-byte window differs (the step changes at offset 256), so a field at a wrong offset shows.
const Bytes Pattern = [] {
    Bytes b(445);
    for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<BYTE>(i < 256 ? i * 37 + 11 : i * 73 + 5);
    return b;
}();

// The cause of the exception f throws, which is deleted; none when it throws nothing.
template <typename E> int CauseThrown(const std::function<void()>& f)
{
    try
    {
        return f(), E::none;
    }
    catch (E* e)
    {
        const int cause = e->m_cause;
        return e->Delete(), cause;
    }
}

class SettingsFile : public ::testing::Test
{
protected:
    void SetUp() override { ResetAppSettings(); }
    void TearDown() override { ::DeleteFileW(m_path.c_str()); }
    void Load() { SaveLoadSettingsAt(m_path.c_str(), FALSE); }
    Bytes Store() { return SaveLoadSettingsAt(m_path.c_str(), TRUE), ReadAllBytes(m_path); }
    const std::wstring m_path = TempPath(L"UmbrafenData.dat");
};

// Every field is read from its offset; the record goes back byte for byte, in place of a longer file whose surplus was
// ignored. A write that fails half-way leaves that file whole, reaches the caller and leaves no temporary file.
TEST_F(SettingsFile, FieldsLoadFromAndStoreToTheirOffsetsAndAFailedStoreKeepsTheFile)
{
    Bytes longer = Pattern;
    longer.insert(longer.end(), 100, 0xFF);
    ASSERT_TRUE(WriteAllBytes(m_path, longer));
    Load();
    const AppSettingsRecord& s = AppSettings;
    // Runs of fields that the record keeps in file order and without padding are compared whole.
    auto same = [](const void* field, size_t at, size_t n) { return !memcmp(field, &Pattern.at(at), n); };
    EXPECT_TRUE(same(&s.Reserved0, 0, 16)) << "Reserved0 to InAltTab";
    EXPECT_EQ(s.Alpha, Pattern[16]);
    EXPECT_TRUE(same(&s.AutoMinimize, 17, 28)) << "AutoMinimize to Reserved4";
    for (int i = 0; i < StoredCheckLimit; ++i)
        EXPECT_TRUE(same(&s.CheckedState[i], 45 + 12 * i, 4) && same(&s.CheckedKey[i], 49 + 12 * i, 8)) << "tick " << i;
    EXPECT_TRUE(same(s.ColumnWidths, 285, 6 * 4)) << "the first six column widths";
    EXPECT_TRUE(same(&s.Placement.flags, 309, 4));
    EXPECT_TRUE(same(&s.ColumnWidths[6], 313, 4)) << "where the placement's length would be";
    EXPECT_TRUE(same(&s.Placement.ptMinPosition, 317, 32)) << "positions and normal rectangle";
    EXPECT_TRUE(same(&s.Placement.showCmd, 349, 4));
    EXPECT_TRUE(same(&s.ListFont, 353, sizeof(LOGFONTW))) << "list font";
    ASSERT_EQ(Pattern, Store());
    const auto failHalfWay = [](CFile& file) {
        file.Write(Bytes(200, 1).data(), 200);
        throw new CFileException(CFileException::diskFull, ERROR_DISK_FULL, file.GetFilePath());
    };
    EXPECT_EQ(CauseThrown<CFileException>([&] { StoreFileAtomically(m_path.c_str(), failHalfWay); }),
              CFileException::diskFull);
    EXPECT_EQ(ReadAllBytes(m_path), Pattern);
    EXPECT_FALSE(FileExists(m_path + L".tmp"));
    // Another program reading the file for a moment (a scanner, a backup) delays the store, never fails it.
    HANDLE reader = ::CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    std::thread closer([reader] { ::Sleep(200), ::CloseHandle(reader); });
    AppSettings.Alpha = 77;
    EXPECT_EQ(CauseThrown<CFileException>([&] { SaveLoadSettingsAt(m_path.c_str(), TRUE); }), CFileException::none);
    closer.join();
    EXPECT_EQ(ReadAllBytes(m_path).at(16), 77);
}

// A short file raises one end-of-file exception; every complete field before the cut arrives, the field cut
// through and all after it keep their fresh values. A missing file raises nothing.
TEST_F(SettingsFile, ShortOrMissingFileKeepsFreshValuesFromTheCutOn)
{
    EXPECT_EQ(CauseThrown<CArchiveException>([&] { Load(); }), CArchiveException::none);
    const Bytes fresh = Store();
    // Just before Alpha, two bytes into AutoMinimize, one byte into the last face-name character.
    const std::pair<size_t, size_t> cases[] = {{16, 16}, {19, 17}, {444, 443}};
    for (const auto& [cut, freshFrom] : cases)
    {
        SCOPED_TRACE(cut);
        ResetAppSettings();
        ASSERT_TRUE(WriteAllBytes(m_path, Bytes(Pattern.begin(), Pattern.begin() + cut)));
        EXPECT_EQ(CauseThrown<CArchiveException>([&] { Load(); }), CArchiveException::endOfFile);
        const Bytes stored = Store();
        EXPECT_TRUE(std::equal(Pattern.begin(), Pattern.begin() + freshFrom, stored.begin()));
        EXPECT_TRUE(std::equal(fresh.begin() + freshFrom, fresh.end(), stored.begin() + freshFrom));
    }
}

}   // namespace

#include <gtest/gtest.h>
#include "framework/Files.h"
#include "framework/ModuleState.h"
#include "tests/unit/TempFolder.h"

namespace {

TEST(CFileTest, OpenFailureIsAResultNotAnException)
{
    TempFolder tmp;
    const CString missing = tmp.File(L"absent.dat");
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(missing, CFile::modeRead, &error));
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error.m_lOsError);
    EXPECT_EQ(missing, error.m_strFileName);
    EXPECT_FALSE(file.Open(missing, CFile::modeRead));
    EXPECT_FALSE(FileExists(missing));  // reading never creates
}

TEST(CFileTest, CreateTruncatesAndNoTruncateKeeps)
{
    TempFolder tmp;
    const CString path = tmp.File(L"data.bin");
    ASSERT_TRUE(WriteAllBytes(path, std::vector<BYTE>(100, 0xAA)));
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::modeNoTruncate));
        EXPECT_EQ(100u, file.GetLength());
    }
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        EXPECT_EQ(0u, file.GetLength());
        const BYTE three[3] = {1, 2, 3};
        file.Write(three, 3);
    }  // the destructor closes, so the bytes are on disk below
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3}), ReadAllBytes(path));
}

TEST(CFileTest, WriteOnAReadOnlyFileThrowsAPointer)
{
    TempFolder tmp;
    const CString path = tmp.File(L"ro.bin");
    ASSERT_TRUE(WriteAllBytes(path, {9}));
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead));
    const BYTE b = 1;
    CFileException* caught = nullptr;
    try {
        file.Write(&b, 1);
    } catch (CFileException* e) {
        caught = e;
    }
    ASSERT_NE(nullptr, caught);
    EXPECT_EQ(path, caught->m_strFileName);
    EXPECT_NE(0, caught->m_lOsError);
    caught->Delete();
}

// Values of odd sizes pushed across several 4096-byte buffer refills in both directions.
TEST(CArchiveTest, ValuesStraddlingBufferBoundariesRoundTrip)
{
    TempFolder tmp;
    const CString path = tmp.File(L"archive.bin");
    const int count = 700;  // 1 + 700 * 21 bytes: well past three buffers
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(ar.IsStoring());
        ar << static_cast<BYTE>(0x5A);
        for (int i = 0; i < count; ++i) {
            ar << static_cast<ULONGLONG>(0x0102030405060708ULL * (i + 1)) << static_cast<DWORD>(i)
               << static_cast<WORD>(i ^ 0xFFFF) << static_cast<BYTE>(i) << static_cast<WCHAR>(L'A' + i % 26)
               << static_cast<LONG>(-i);
        }
        ar.Close();
    }
    const std::vector<BYTE> bytes = ReadAllBytes(path);
    ASSERT_EQ(1u + count * 21u, bytes.size());
    // Little-endian raw bytes, no padding: the first ULONGLONG starts at offset 1.
    EXPECT_EQ(0x5A, bytes[0]);
    EXPECT_EQ(0x08, bytes[1]);
    EXPECT_EQ(0x01, bytes[8]);

    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead));
    CArchive ar(&file, CArchive::load);
    EXPECT_TRUE(ar.IsLoading());
    BYTE first = 0;
    ar >> first;
    EXPECT_EQ(0x5A, first);
    for (int i = 0; i < count; ++i) {
        ULONGLONG q = 0;
        DWORD d = 0;
        WORD w = 0;
        BYTE b = 0;
        WCHAR c = 0;
        LONG l = 0;
        ar >> q >> d >> w >> b >> c >> l;
        ASSERT_EQ(0x0102030405060708ULL * (i + 1), q) << i;
        ASSERT_EQ(static_cast<DWORD>(i), d) << i;
        ASSERT_EQ(static_cast<WORD>(i ^ 0xFFFF), w) << i;
        ASSERT_EQ(static_cast<BYTE>(i), b) << i;
        ASSERT_EQ(static_cast<WCHAR>(L'A' + i % 26), c) << i;
        ASSERT_EQ(-i, l) << i;
    }
}

TEST(CArchiveTest, ReadingPastTheEndThrowsEndOfFileAfterTheCompleteValues)
{
    TempFolder tmp;
    const CString path = tmp.File(L"short.bin");
    ASSERT_TRUE(WriteAllBytes(path, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));  // one DWORD and a half
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead));
    CArchive ar(&file, CArchive::load);
    DWORD a = 0, b = 0xDEADBEEF;
    CArchiveException* caught = nullptr;
    try {
        ar >> a >> b;
    } catch (CArchiveException* e) {
        caught = e;
    }
    ASSERT_NE(nullptr, caught);
    EXPECT_EQ(CArchiveException::endOfFile, caught->m_cause);
    EXPECT_EQ(path, caught->m_strFileName);
    EXPECT_EQ(0x44332211u, a);
    EXPECT_EQ(0xDEADBEEFu, b);  // a partial value is never assigned

    WCHAR text[512] = {};
    EXPECT_TRUE(caught->GetErrorMessage(text, 512));
    CString expected;
    expected.Format(L"Unexpected end of file while reading %s.", path);
    EXPECT_STREQ(expected, text);
    caught->Delete();
}

} // namespace

namespace {

// Answers the first message box captioned `caption` with OK and hands back its text.
struct MessageBoxWatcher
{
    explicit MessageBoxWatcher(LPCWSTR caption) : m_caption(caption)
    {
        m_thread = CreateThread(nullptr, 0, &MessageBoxWatcher::Run, this, 0, nullptr);
    }
    ~MessageBoxWatcher()
    {
        WaitForSingleObject(m_thread, 15000);
        CloseHandle(m_thread);
    }
    static DWORD WINAPI Run(void* p)
    {
        auto* self = static_cast<MessageBoxWatcher*>(p);
        for (int i = 0; i < 1000; ++i) {
            if (HWND box = FindWindowW(L"#32770", self->m_caption)) {
                WCHAR text[512] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 512);  // the message box's text control
                self->m_text = text;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return 0;
            }
            Sleep(10);
        }
        return 1;
    }
    LPCWSTR m_caption;
    HANDLE m_thread;
    CString m_text;
};

TEST(CExceptionTest, ReportErrorShowsItsOwnMessageUnderTheAppName)
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    const LPCWSTR savedName = state->m_lpszCurrentAppName;
    state->m_lpszCurrentAppName = L"UmbrafenReportTest";
    CException* e = new CArchiveException(CArchiveException::endOfFile, L"C:\\data\\UmbrafenData.dat");
    int result = 0;
    CString shown;
    {
        MessageBoxWatcher watcher(L"UmbrafenReportTest");
        result = e->ReportError(MB_OK, 0);
        WaitForSingleObject(watcher.m_thread, 15000);  // what it saw is complete once it ends
        shown = watcher.m_text;
    }
    e->Delete();
    state->m_lpszCurrentAppName = savedName;
    EXPECT_EQ(IDOK, result);
    EXPECT_STREQ(L"Unexpected end of file while reading C:\\data\\UmbrafenData.dat.", shown);
}

} // namespace

// File errors as the program meets them: thrown as pointers and reported under the application's name.
#include <gtest/gtest.h>
#include "framework/Files.h"
#include "framework/ModuleState.h"
#include "settings/AppSettings.h"
#include "tests/unit/TempFolder.h"

namespace {

// A failed write (a full disk when the settings are stored) must reach catch (CException*).
TEST(CFileTest, WriteFailureThrowsAPointerNamingTheFile)
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

// Runs inside the message box's own loop: keeps the box's text and answers it with OK.
CString g_shown;
void CALLBACK AnswerReportBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (HWND box = FindWindowW(L"#32770", L"UmbrafenReportTest")) {
        WCHAR text[512] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 512);  // the message box's text control
        g_shown = text;
        KillTimer(nullptr, timer);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

// The start-up load of a cut data file ends in this report.
TEST(CExceptionTest, ShortDataFileIsReportedUnderTheAppName)
{
    TempFolder tmp;
    const CString path = tmp.File(L"UmbrafenData.dat");
    ASSERT_TRUE(WriteAllBytes(path, std::vector<BYTE>(6, 0x11)));
    CException* error = nullptr;
    try {
        SaveLoadSettingsAt(path, FALSE);
    } catch (CException* e) {
        error = e;
    }
    ResetAppSettings();
    ASSERT_NE(nullptr, error);

    AFX_MODULE_STATE* state = AfxGetModuleState();
    const LPCWSTR savedName = state->m_lpszCurrentAppName;
    state->m_lpszCurrentAppName = L"UmbrafenReportTest";
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerReportBox);
    const int result = error->ReportError(MB_OK, 0);
    KillTimer(nullptr, timer);
    error->Delete();
    state->m_lpszCurrentAppName = savedName;
    EXPECT_EQ(IDOK, result);
    EXPECT_STREQ(CString(L"Unexpected end of file while reading ") + path + L".", g_shown);
}

} // namespace

#include "settings/AppSettings.h"
#include "framework/ModuleState.h"
#include <shlobj.h>
#include <functional>

AppSettingsRecord AppSettings;

namespace {
// The bytes the data file was last read in full or written with; empty when neither happened.
std::vector<BYTE> g_fileBytes;
// How long a store waits for a reader of the file to let go: 20 tries, 50 ms apart.
constexpr int ReplaceTries = 20;
constexpr DWORD ReplaceRetryMs = 50;
}   // namespace

void ResetAppSettings()
{
    AppSettings = AppSettingsRecord();
}

CString BuildDataFilePath(const CString& appData, const CString& appName)
{
    CString path = appData;
    path.AppendFormat(L"\\%s", appName);
    CreateDirectoryW(path, nullptr);   // usually exists already
    path += L"\\UmbrafenData.dat";
    // Repeated so that a folder ending in "\" plus an empty name still leaves single separators.
    while (path.Replace(L"\\\\", L"\\") > 0)
    {}
    return path;
}

void GetDataFilePath(CString& path)
{
    WCHAR appData[MAX_PATH] = {};
    // Without the local application-data folder there is no data file: nothing is read, written or deleted.
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)) ||
        appData[0] == L'\0')
    {
        path.Empty();
        return;
    }
    path = BuildDataFilePath(appData, AfxGetModuleState()->m_lpszCurrentAppName);
}

namespace {

// One routine for both directions keeps the two orders identical.
template <typename T> void Move(CArchive& ar, T& field)
{
    if (ar.IsStoring()) ar << field;
    else ar >> field;
}

}   // namespace

void SerializeSettings(CArchive& ar)
{
    AppSettingsRecord& s = AppSettings;
    Move(ar, s.Reserved0);
    Move(ar, s.WindowColor);
    Move(ar, s.OnTop);
    Move(ar, s.InAltTab);
    Move(ar, s.Alpha);
    Move(ar, s.AutoMinimize);
    Move(ar, s.Passthrough);
    Move(ar, s.TurnOffMonitors);
    Move(ar, s.Reserved1);
    Move(ar, s.Reserved2);
    Move(ar, s.Reserved3);
    Move(ar, s.Reserved4);
    for (int i = 0; i < StoredCheckLimit; ++i)
    {
        Move(ar, s.CheckedState[i]);
        Move(ar, s.CheckedKey[i]);
    }
    for (int i = 0; i < 6; ++i) Move(ar, s.ColumnWidths[i]);
    // The file keeps the seventh column width inside the placement, where length would be.
    s.Placement.length = sizeof(WINDOWPLACEMENT);
    Move(ar, s.Placement.flags);
    Move(ar, s.ColumnWidths[6]);
    Move(ar, s.Placement.ptMinPosition.x);
    Move(ar, s.Placement.ptMinPosition.y);
    Move(ar, s.Placement.ptMaxPosition.x);
    Move(ar, s.Placement.ptMaxPosition.y);
    Move(ar, s.Placement.rcNormalPosition.left);
    Move(ar, s.Placement.rcNormalPosition.top);
    Move(ar, s.Placement.rcNormalPosition.right);
    Move(ar, s.Placement.rcNormalPosition.bottom);
    Move(ar, s.Placement.showCmd);
    LOGFONTW& f = s.ListFont;
    Move(ar, f.lfHeight);
    Move(ar, f.lfWidth);
    Move(ar, f.lfEscapement);
    Move(ar, f.lfOrientation);
    Move(ar, f.lfWeight);
    Move(ar, f.lfItalic);
    Move(ar, f.lfUnderline);
    Move(ar, f.lfStrikeOut);
    Move(ar, f.lfCharSet);
    Move(ar, f.lfOutPrecision);
    Move(ar, f.lfClipPrecision);
    Move(ar, f.lfQuality);
    Move(ar, f.lfPitchAndFamily);
    // All 32 code units, the terminator and whatever follows it included.
    for (WCHAR& c : f.lfFaceName) Move(ar, c);
}

BOOL StoreFileAtomically(LPCWSTR path, const std::function<void(CFile&)>& write)
{
    // Written whole beside the data file, then put in its place in one step: a crash or a
    // full disk half-way leaves the previous file as it was.
    CString temp = path;
    temp += L".tmp";
    CFile file;
    // A file that cannot be created costs this run's settings without a message, as ever.
    if (!file.Open(temp, CFile::modeCreate | CFile::modeWrite)) return FALSE;
    try
    {
        write(file);
        if (!FlushFileBuffers(file.m_hFile))
        {
            const LONG err = static_cast<LONG>(GetLastError());
            throw new CFileException(CFileException::OsErrorToException(err), err, temp);
        }
        file.Close();
        // A program that reads the file for a moment (a scanner, a backup, an indexer) holds its
        // replacement off: tried again for up to a second before it counts as a failure.
        for (int tries = 1; !MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH); ++tries)
        {
            const LONG err = static_cast<LONG>(GetLastError());
            const bool held = err == ERROR_SHARING_VIOLATION || err == ERROR_ACCESS_DENIED || err == ERROR_LOCK_VIOLATION;
            if (!held || tries == ReplaceTries) throw new CFileException(CFileException::OsErrorToException(err), err, path);
            Sleep(ReplaceRetryMs);
        }
    }
    catch (...)
    {
        file.Close();
        DeleteFileW(temp);
        throw;
    }
    return TRUE;
}

std::vector<BYTE> SettingsBytes()
{
    CMemFile file;
    CArchive ar(&file, CArchive::store, 4096);
    SerializeSettings(ar);
    ar.Close();
    return file.m_data;
}

void SaveLoadSettingsAt(LPCWSTR path, BOOL store)
{
    if (!path || !*path) return;
    if (store)
    {
        const std::vector<BYTE> bytes = SettingsBytes();
        if (StoreFileAtomically(path, [&](CFile& f) { f.Write(bytes.data(), static_cast<UINT>(bytes.size())); }))
            g_fileBytes = bytes;
        return;
    }
    g_fileBytes.clear();
    CFile file;
    if (!file.Open(path, CFile::modeRead)) return;
    CArchive ar(&file, CArchive::load, 4096);
    SerializeSettings(ar);
    ar.Close();
    g_fileBytes = SettingsBytes();
}

void SaveLoadSettings(BOOL store)
{
    CString path;
    GetDataFilePath(path);
    if (!store)
    {
        SaveLoadSettingsAt(path, FALSE);
        return;
    }
    // Nobody after the store could handle a write error (a full disk), so it is reported here:
    // the user learns that this run's settings were not kept.
    try
    {
        SaveLoadSettingsAt(path, TRUE);
    }
    catch (CException* e)
    {
        e->ReportError(MB_OK | MB_ICONWARNING);
        e->Delete();
    }
}

void StoreSettingsIfChanged()
{
    CString path;
    GetDataFilePath(path);
    if (SettingsBytes() != g_fileBytes) SaveLoadSettingsAt(path, TRUE);
}

void DeleteDataFile()
{
    CString path;
    GetDataFilePath(path);
    if (!path.IsEmpty()) DeleteFileW(path);
}

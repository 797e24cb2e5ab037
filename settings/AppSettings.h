// The persisted settings record and its data file.
//   AppSettingsRecord   every value remembered between runs
//   AppSettings         the one process-wide record
#pragma once
#include <functional>
#include <vector>
#include <windows.h>
#include "framework/Files.h"
#include "framework/Strings.h"

// Number of monitor rows whose ticks are remembered.
constexpr int StoredCheckLimit = 20;
constexpr int ListColumnCount = 7;

// Fields in declaration order; the data file's order differs inside the placement.
// Check-box fields are int because the dialog's data exchange binds them as int.
struct AppSettingsRecord
{
    DWORD Reserved0 = 1;
    COLORREF WindowColor = RGB(0, 0, 0);
    int OnTop = 1;
    int InAltTab = 0;
    BYTE Alpha = 150;
    int AutoMinimize = 0;
    int Passthrough = 1;
    int TurnOffMonitors = 0;
    DWORD Reserved1 = 0;
    DWORD Reserved2 = 0;
    DWORD Reserved3 = 0;
    DWORD Reserved4 = 0;
    DWORD CheckedState[StoredCheckLimit] = {};
    ULONGLONG CheckedKey[StoredCheckLimit] = {};
    // Deliberately at 96 DPI and scaled at use, as ListFont.lfHeight, so one file reads the same at any scaling.
    int ColumnWidths[ListColumnCount] = {};
    // length is not stored; it stays sizeof(WINDOWPLACEMENT) so the record can go to the platform as is.
    WINDOWPLACEMENT Placement = {sizeof(WINDOWPLACEMENT), 0, 0, {}, {}, {}};
    LOGFONTW ListFont = {};
};

extern AppSettingsRecord AppSettings;

// Size of the data file: the record's fields packed with no padding.
constexpr ULONGLONG SettingsFileSize = 445;

// Restores every field of AppSettings to its fresh value.
void ResetAppSettings();

// <appData>\<appName>\UmbrafenData.dat with single backslashes; creates the folder.
CString BuildDataFilePath(const CString& appData, const CString& appName);
// The data file in the user's local application-data folder; empty when that folder is unknown.
void GetDataFilePath(CString& path);

// Moves every field to or from the archive in file order.
void SerializeSettings(CArchive& ar);
// Writes path through write() into a temporary file beside it and then replaces path in
// one step. A temporary file that cannot be created skips the store (FALSE); any later failure
// leaves path as it was, removes the temporary file and is thrown as a CFileException*.
BOOL StoreFileAtomically(LPCWSTR path, const std::function<void(CFile&)>& write);
// Writes (store != 0, atomically) or reads the data file at path; a file that cannot be
// opened for reading is silently skipped. Errors reach the caller as CException*.
void SaveLoadSettingsAt(LPCWSTR path, BOOL store);
// The record as the data file holds it.
std::vector<BYTE> SettingsBytes();
// Stores the data file only when the record's bytes differ from those it was last read or
// written with (a file not yet read or written always differs). Errors reach the caller as
// CException*, as from SaveLoadSettingsAt.
void StoreSettingsIfChanged();
// The same over the data file of GetDataFilePath. A load lets archive errors through to the
// caller; a store reports its own write errors and never throws.
void SaveLoadSettings(BOOL store);
// Reset All Parameters: the data file goes, so the next start runs with fresh values.
void DeleteDataFile();

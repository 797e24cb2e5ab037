#include "framework/Files.h"
#include "framework/ModuleState.h"
#include <algorithm>
#include <cstring>

namespace {

CString NameOrDefault(const CString& name)
{
    return name.IsEmpty() ? CString(L"the file") : name;
}

// The system's own wording of a Win32 error, without the trailing line break.
CString SystemMessage(LONG err)
{
    if (err <= 0) return CString();
    LPWSTR text = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(err), 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    CString result;
    if (n && text)
    {
        result = text;
        result.Trim();
    }
    LocalFree(text);
    return result;
}

}   // namespace

int CException::ReportError(UINT nType, UINT nMessageID)
{
    CString text = Describe();
    if (text.IsEmpty() && nMessageID != 0) text.LoadString(nMessageID);
    if (text.IsEmpty()) text = L"An unexpected error occurred.";
    return AfxMessageBox(text, nType);
}

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError)
    {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE: return badPath;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return accessDenied;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

CString CFileException::Describe() const
{
    const CString name = NameOrDefault(m_strFileName);
    CString text;
    switch (m_cause)
    {
    case none: return text;
    case fileNotFound: text.Format(L"%s was not found.", name); break;
    case badPath: text.Format(L"The path %s is not valid.", name); break;
    case accessDenied: text.Format(L"Access to %s was denied.", name); break;
    case sharingViolation:
    case lockViolation: text.Format(L"%s is in use by another program.", name); break;
    case diskFull: text.Format(L"There is not enough space on the disk to write %s.", name); break;
    case endOfFile: text.Format(L"Unexpected end of file while reading %s.", name); break;
    default: text.Format(L"An error occurred while accessing %s.", name); break;
    }
    const CString detail = SystemMessage(m_lOsError);
    if (!detail.IsEmpty()) text.AppendFormat(L"\n\n%s", detail);
    return text;
}

CString CArchiveException::Describe() const
{
    const CString name = NameOrDefault(m_strFileName);
    CString text;
    switch (m_cause)
    {
    case none: break;
    case endOfFile: text.Format(L"Unexpected end of file while reading %s.", name); break;
    case readOnly: text.Format(L"Cannot write to %s: it was opened for reading.", name); break;
    case writeOnly: text.Format(L"Cannot read from %s: it was opened for writing.", name); break;
    }
    return text;
}

CFile::~CFile()
{
    Close();
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    Close();
    const DWORD access = (nOpenFlags & modeWrite) ? GENERIC_WRITE : GENERIC_READ;
    const DWORD disposition = (nOpenFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;

    m_strFileName = lpszFileName;
    const HANDLE h =
        CreateFileW(lpszFileName ? lpszFileName : L"", access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
    {
        const LONG err = static_cast<LONG>(GetLastError());
        if (pError)
        {
            pError->m_cause = CFileException::OsErrorToException(err);
            pError->m_lOsError = err;
            pError->m_strFileName = m_strFileName;
        }
        return FALSE;
    }
    m_hFile = h;
    return TRUE;
}

void CFile::ThrowOsError(DWORD err) const
{
    throw new CFileException(CFileException::OsErrorToException(static_cast<LONG>(err)), static_cast<LONG>(err),
                             m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0) return 0;
    DWORD got = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &got, nullptr)) ThrowOsError(GetLastError());
    return got;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0) return;
    DWORD put = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &put, nullptr)) ThrowOsError(GetLastError());
    if (put != nCount) ThrowOsError(ERROR_DISK_FULL);
}

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
    {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize)
    : m_pFile(pFile), m_nMode(nMode & 1), m_buf(nBufSize < 16 ? 16 : nBufSize)
{}

CArchive::~CArchive()
{
    if (m_pFile && IsStoring())
    {
        try
        {
            Flush();
        }
        catch (CException* e)
        {
            e->Delete();
        }
    }
}

void CArchive::Flush()
{
    if (IsStoring() && m_pFile && m_cur > 0)
    {
        const UINT n = m_cur;
        m_cur = 0;   // a failed write is not retried
        m_pFile->Write(m_buf.data(), n);
    }
}

void CArchive::Close()
{
    if (IsStoring()) Flush();
    m_pFile = nullptr;
}

void CArchive::WriteBytes(const void* p, UINT n)
{
    if (!IsStoring())
        throw new CArchiveException(CArchiveException::readOnly, m_pFile ? m_pFile->GetFilePath().GetString() : L"");
    const BYTE* src = static_cast<const BYTE*>(p);
    while (n > 0)
    {
        if (m_cur == m_buf.size()) Flush();
        const UINT chunk = std::min(n, static_cast<UINT>(m_buf.size()) - m_cur);
        memcpy(m_buf.data() + m_cur, src, chunk);
        m_cur += chunk;
        src += chunk;
        n -= chunk;
    }
}

void CArchive::ReadBytes(void* p, UINT n)
{
    if (!IsLoading())
        throw new CArchiveException(CArchiveException::writeOnly, m_pFile ? m_pFile->GetFilePath().GetString() : L"");
    BYTE* dst = static_cast<BYTE*>(p);
    while (n > 0)
    {
        if (m_cur == m_end)
        {
            m_cur = 0;
            m_end = m_pFile ? m_pFile->Read(m_buf.data(), static_cast<UINT>(m_buf.size())) : 0;
            if (m_end == 0)
                throw new CArchiveException(CArchiveException::endOfFile,
                                            m_pFile ? m_pFile->GetFilePath().GetString() : L"");
        }
        const UINT chunk = std::min(n, m_end - m_cur);
        memcpy(dst, m_buf.data() + m_cur, chunk);
        m_cur += chunk;
        dst += chunk;
        n -= chunk;
    }
}

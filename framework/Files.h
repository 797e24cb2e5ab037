// Files, archives and the framework's exceptions.
//   CException          base of everything the framework throws (always thrown as a pointer)
//   CFileException      an operating-system file error
//   CArchiveException   an archive error, e.g. a file that ends too early
//   CFile               owning wrapper of a file HANDLE
//   CMemFile            a file in memory
//   CArchive            buffered little-endian reader/writer over a CFile
#pragma once
#include <windows.h>
#include <vector>
#include "framework/Strings.h"

// Thrown as `new ...`; the catcher reports and then calls Delete().
class CException
{
public:
    virtual ~CException() = default;
    // Message box with the exception's own text (or string nMessageID when it has none),
    // captioned with the application name.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);
    void Delete() { delete this; }

protected:
    // The user-facing text; empty when there is none.
    virtual CString Describe() const = 0;
};

class CFileException : public CException
{
public:
    // Causes with a message of their own; every other error is genericException.
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        accessDenied,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    explicit CFileException(int cause = none, LONG lOsError = -1, LPCWSTR lpszFileName = nullptr)
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
    {}
    static int OsErrorToException(LONG lOsError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;

protected:
    CString Describe() const override;
};

class CArchiveException : public CException
{
public:
    enum
    {
        none,
        readOnly,
        endOfFile,
        writeOnly
    };
    explicit CArchiveException(int cause = none, LPCWSTR lpszArchiveName = nullptr)
        : m_cause(cause), m_strFileName(lpszArchiveName)
    {}

    int m_cause;
    CString m_strFileName;

protected:
    CString Describe() const override;
};

class CFile
{
public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    // Opens for exclusive use. FALSE on failure, with the cause in *pError when one is given; never throws.
    BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Reads up to nCount bytes and returns how many came (0 at the end); throws CFileException*.
    UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes or throws CFileException* (a full disk included).
    virtual void Write(const void* lpBuf, UINT nCount);
    void Close();

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    const CString& GetFilePath() const { return m_strFileName; }

private:
    [[noreturn]] void ThrowOsError(DWORD err) const;
    CString m_strFileName;
};

// What an archive stores into it stays in m_data.
class CMemFile : public CFile
{
public:
    void Write(const void* lpBuf, UINT nCount) override
    {
        m_data.insert(m_data.end(), static_cast<const BYTE*>(lpBuf), static_cast<const BYTE*>(lpBuf) + nCount);
    }
    std::vector<BYTE> m_data;
};

class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1
    };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    // Flushes a store that was not closed; errors at that point are swallowed.
    ~CArchive();

    BOOL IsLoading() const { return m_nMode == load; }
    BOOL IsStoring() const { return m_nMode == store; }

    void Flush();
    // Flushes a store and detaches from the file (the file itself stays open).
    void Close();

    CArchive& operator<<(BYTE v) { return Put(v); }
    CArchive& operator<<(DWORD v) { return Put(v); }
    CArchive& operator<<(LONG v) { return Put(v); }
    CArchive& operator<<(int v) { return Put(v); }
    CArchive& operator<<(UINT v) { return Put(v); }
    CArchive& operator<<(ULONGLONG v) { return Put(v); }
    CArchive& operator<<(WCHAR v) { return Put(v); }

    CArchive& operator>>(BYTE& v) { return Get(v); }
    CArchive& operator>>(DWORD& v) { return Get(v); }
    CArchive& operator>>(LONG& v) { return Get(v); }
    CArchive& operator>>(int& v) { return Get(v); }
    CArchive& operator>>(UINT& v) { return Get(v); }
    CArchive& operator>>(ULONGLONG& v) { return Get(v); }
    CArchive& operator>>(WCHAR& v) { return Get(v); }

private:
    // Values travel as their raw bytes; the target is little-endian like the file.
    template <typename T> CArchive& Put(T v)
    {
        WriteBytes(&v, sizeof v);
        return *this;
    }
    template <typename T> CArchive& Get(T& v)
    {
        T tmp;
        ReadBytes(&tmp, sizeof tmp);
        v = tmp;   // assigned only once the whole value has arrived
        return *this;
    }
    void WriteBytes(const void* p, UINT n);
    void ReadBytes(void* p, UINT n);

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE> m_buf;
    UINT m_cur = 0;   // next byte to read or write
    UINT m_end = 0;   // loading: bytes in the buffer
};

#include "colorwin/OpenWindowRegistry.h"
#include "display/HandleText.h"

COpenWindowRegistry OpenWindowRegistry;

namespace {

class CExclusiveLock
{
public:
    explicit CExclusiveLock(SRWLOCK& lock) : m_lock(lock) { ::AcquireSRWLockExclusive(&m_lock); }
    ~CExclusiveLock() { ::ReleaseSRWLockExclusive(&m_lock); }
    CExclusiveLock(const CExclusiveLock&) = delete;
    CExclusiveLock& operator=(const CExclusiveLock&) = delete;

private:
    SRWLOCK& m_lock;
};

} // namespace

void COpenWindowRegistry::SetAt(LPCWSTR key, LPCWSTR value)
{
    CExclusiveLock guard(m_lock);
    m_map[key] = value;
}

BOOL COpenWindowRegistry::RemoveKey(LPCWSTR key)
{
    CExclusiveLock guard(m_lock);
    return m_map.RemoveKey(key);
}

BOOL COpenWindowRegistry::Lookup(LPCWSTR key, CString& rValue) const
{
    CExclusiveLock guard(m_lock);
    return m_map.Lookup(key, rValue);
}

INT_PTR COpenWindowRegistry::GetCount() const
{
    CExclusiveLock guard(m_lock);
    return m_map.GetCount();
}

std::vector<HWND> COpenWindowRegistry::GetWindows() const
{
    std::vector<HWND> windows;
    CExclusiveLock guard(m_lock);
    windows.reserve(static_cast<size_t>(m_map.GetCount()));
    CString key, value;
    for (POSITION pos = m_map.GetStartPosition(); pos;)
    {
        m_map.GetNextAssoc(pos, key, value);
        windows.push_back(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(ParseHandleText(value))));
    }
    return windows;
}

BOOL CloseAllColoredWindows()
{
    // The handles are copied out first: each window unregisters itself on its own
    // thread while the send waits, so the lock must be free by then.
    const std::vector<HWND> windows = OpenWindowRegistry.GetWindows();
    if (windows.empty()) return FALSE;
    for (HWND hWnd : windows) ::SendMessageW(hWnd, WM_CLOSE, 0, 0);
    return TRUE;
}

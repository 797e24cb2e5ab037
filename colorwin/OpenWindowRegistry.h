// The open coloured windows, shared by the control panel and every window thread.
//   COpenWindowRegistry     monitor handle text -> window handle text ("%llu"), one lock around the map
//   OpenWindowRegistry      the process-wide instance
//   CloseAllColoredWindows  closes every registered window and waits for each to be gone
#pragma once
#include <windows.h>
#include <vector>
#include "framework/Strings.h"

class COpenWindowRegistry
{
public:
    COpenWindowRegistry() : m_map(10) {}
    COpenWindowRegistry(const COpenWindowRegistry&) = delete;
    COpenWindowRegistry& operator=(const COpenWindowRegistry&) = delete;

    // Adds the entry, or replaces the value under a key that is present.
    void SetAt(LPCWSTR key, LPCWSTR value);
    BOOL RemoveKey(LPCWSTR key);
    BOOL Lookup(LPCWSTR key, CString& rValue) const;
    INT_PTR GetCount() const;
    // The window handles of all entries at this moment, in the map's order.
    std::vector<HWND> GetWindows() const;

private:
    mutable SRWLOCK m_lock = SRWLOCK_INIT;
    CMapStringToString m_map;
};

extern COpenWindowRegistry OpenWindowRegistry;

// Sends WM_CLOSE to every registered window; each send returns once that window
// is destroyed and unregistered. FALSE when nothing was registered.
BOOL CloseAllColoredWindows();

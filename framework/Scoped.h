// Guards for what the code would otherwise pair by hand on every path out.
//   CExclusiveLock, CSharedLock   an SRW lock held for a scope
//   CComRef<T>                    an owning COM reference, released on destruction
//   CScopedHandle                 an owning kernel handle (null or INVALID_HANDLE_VALUE: none), closed on destruction
// An owning menu is CMenu (framework/Menu.h): it destroys its menu with the object.
#pragma once
#include <windows.h>

template <void(WINAPI* Acquire)(PSRWLOCK), void(WINAPI* Release)(PSRWLOCK)> class CSrwLockGuard
{
public:
    explicit CSrwLockGuard(SRWLOCK& lock) : m_lock(lock) { Acquire(&m_lock); }
    ~CSrwLockGuard() { Release(&m_lock); }
    CSrwLockGuard(const CSrwLockGuard&) = delete;
    CSrwLockGuard& operator=(const CSrwLockGuard&) = delete;

private:
    SRWLOCK& m_lock;
};
using CExclusiveLock = CSrwLockGuard<::AcquireSRWLockExclusive, ::ReleaseSRWLockExclusive>;
using CSharedLock = CSrwLockGuard<::AcquireSRWLockShared, ::ReleaseSRWLockShared>;

template <class T> class CComRef
{
public:
    CComRef() = default;
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
    ~CComRef()
    {
        if (m_p) m_p->Release();
    }
    // For the out parameter of a call that hands over a reference; the slot must be empty.
    T** operator&() { return &m_p; }
    void** AsVoid() { return reinterpret_cast<void**>(&m_p); }
    T* operator->() const { return m_p; }

private:
    T* m_p = nullptr;
};

class CScopedHandle
{
public:
    explicit CScopedHandle(HANDLE h = nullptr) : m_h(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~CScopedHandle()
    {
        if (m_h) ::CloseHandle(m_h);
    }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;
    HANDLE Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }

private:
    HANDLE m_h;
};

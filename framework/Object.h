// CObject and CRuntimeClass: run-time class records and creation by class,
// which is how AfxBeginThread builds a thread object it only knows by class.
#pragma once
#include <windows.h>

class CObject;

struct CRuntimeClass
{
    CObject* (*m_pfnCreateObject)();   // null for classes that cannot be created by class
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* pBase) const;
};

class CObject
{
public:
    virtual ~CObject() = default;
    static const CRuntimeClass* GetThisClass();
    // Overridden by classes declared with DECLARE_RUNTIME_CLASS, which every class created by class is;
    // the framework's own classes only supply their GetThisClass as a base record.
    virtual const CRuntimeClass* GetRuntimeClass() const { return GetThisClass(); }
    bool IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }
};

// Run-time class record for T. Creatable classes get a creation function.
template <class T, class Base, bool Creatable> const CRuntimeClass* MakeRuntimeClass()
{
    static const CRuntimeClass rc = [] {
        CObject* (*create)() = nullptr;
        if constexpr (Creatable) create = []() -> CObject* { return new T; };
        return CRuntimeClass{create, Base::GetThisClass()};
    }();
    return &rc;
}

inline bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBase) const
{
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBase) return true;
    return false;
}

inline const CRuntimeClass* CObject::GetThisClass()
{
    static const CRuntimeClass rc{nullptr, nullptr};
    return &rc;
}

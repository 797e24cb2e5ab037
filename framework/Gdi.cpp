#include "framework/Gdi.h"
#include "framework/Window.h"

BOOL CGdiObject::Attach(HGDIOBJ h)
{
    // An occupied object refuses: its old handle would leak.
    if (!h || m_hObject) return FALSE;
    m_hObject = h;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBrush::CreateSolidBrush(COLORREF cr)
{
    return Attach(::CreateSolidBrush(cr));
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
}

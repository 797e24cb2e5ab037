// Message maps: one static, read-only table of entries per window class,
// chained to the base class's table.
//
// Entries are built with typed helpers, so a handler whose signature does not
// fit its message fails to compile:
//   Msg<WM_PAINT, &CMyDlg::OnPaint>()                   message, cracked
//   Raw<WM_DISPLAYCHANGE, &CMyDlg::OnDisplayChange>()   LRESULT (WPARAM, LPARAM)
//   Cmd<IDC_SHOW, &CMyDlg::OnShow>()                    WM_COMMAND, code 0 (button, menu)
//   CmdCode<CBN_SELCHANGE, IDC_COMBO, &CMyDlg::OnSel>() WM_COMMAND with a notification code
//   Notify<NM_RELEASEDCAPTURE, IDC_SLIDER, &CMyDlg::OnReleased>()   WM_NOTIFY
//
// A window class declares its table and run-time class in its body, and defines them
// in its source file; the table then reads as one list of what the window handles:
//   class CMyDlg : public CDialogEx { DECLARE_RUNTIME_CLASS() DECLARE_MESSAGE_MAP() ... };
//   IMPLEMENT_RUNTIME_CLASS(CMyDlg, CDialogEx, false)
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialogEx)
//       Msg<WM_PAINT, &T::OnPaint>(),
//   END_MESSAGE_MAP()
#pragma once
#include <windows.h>
#include <span>
#include <type_traits>
#include "framework/Gdi.h"

class CWnd;

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;   // WM_*
    UINT nCode;      // notification code for WM_COMMAND and WM_NOTIFY
    UINT nID;        // control or command id for WM_COMMAND and WM_NOTIFY
    LRESULT (*pfn)(CWnd* pWnd, WPARAM wParam, LPARAM lParam);
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();   // null at the root
    std::span<const AFX_MSGMAP_ENTRY> entries;
};

// The crackers read best one per line, as a table.
// clang-format off
namespace afx_detail {

template <class F> struct MemberOf;
template <class R, class T, class... A> struct MemberOf<R (T::*)(A...)> { using type = T; };

template <auto F> using ClassOf = typename MemberOf<decltype(F)>::type;

// Per-message crackers: the handler signature a message takes, and how its
// parameters are unpacked. Messages without a cracker use Raw<>.
template <UINT M> struct Crack;

template <class R> struct NoArgs
{
    template <class T> using Handler = R (T::*)();
    template <class T, Handler<T> F> static LRESULT Call(CWnd* w, WPARAM, LPARAM)
    {
        if constexpr (std::is_void_v<R>) { (static_cast<T*>(w)->*F)(); return 0; }
        else return (LRESULT)(static_cast<T*>(w)->*F)();
    }
};

template <> struct Crack<WM_PAINT> : NoArgs<void> {};
template <> struct Crack<WM_DESTROY> : NoArgs<void> {};
template <> struct Crack<WM_CLOSE> : NoArgs<void> {};
template <> struct Crack<WM_QUERYDRAGICON> : NoArgs<HCURSOR> {};
template <> struct Crack<WM_INITDIALOG> : NoArgs<BOOL> {};

template <> struct Crack<WM_GETMINMAXINFO>
{
    template <class T> using Handler = void (T::*)(MINMAXINFO*);
    template <class T, Handler<T> F> static LRESULT Call(CWnd* w, WPARAM, LPARAM l)
    { (static_cast<T*>(w)->*F)(reinterpret_cast<MINMAXINFO*>(l)); return 0; }
};

template <> struct Crack<WM_SYSCOMMAND>
{
    template <class T> using Handler = void (T::*)(UINT nID, LPARAM lParam);
    template <class T, Handler<T> F> static LRESULT Call(CWnd* w, WPARAM wp, LPARAM l)
    { (static_cast<T*>(w)->*F)(static_cast<UINT>(wp), l); return 0; }
};

template <> struct Crack<WM_ENDSESSION>
{
    template <class T> using Handler = void (T::*)(BOOL bEnding);
    template <class T, Handler<T> F> static LRESULT Call(CWnd* w, WPARAM wp, LPARAM)
    { (static_cast<T*>(w)->*F)(static_cast<BOOL>(wp)); return 0; }
};

template <> struct Crack<WM_TIMER>
{
    template <class T> using Handler = void (T::*)(UINT_PTR nIDEvent);
    template <class T, Handler<T> F> static LRESULT Call(CWnd* w, WPARAM wp, LPARAM)
    { (static_cast<T*>(w)->*F)(wp); return 0; }
};

template <> struct Crack<WM_LBUTTONDOWN>
{
    template <class T> using Handler = void (T::*)(UINT nFlags, CPoint point);
    template <class T, Handler<T> F> static LRESULT Call(CWnd* w, WPARAM wp, LPARAM l)
    { (static_cast<T*>(w)->*F)(static_cast<UINT>(wp), CPoint(l)); return 0; }
};

template <> struct Crack<WM_MOUSEWHEEL>
{
    template <class T> using Handler = BOOL (T::*)(UINT nFlags, short zDelta, CPoint pt);
    template <class T, Handler<T> F> static LRESULT Call(CWnd* w, WPARAM wp, LPARAM l)
    {
        return (static_cast<T*>(w)->*F)(LOWORD(wp), static_cast<short>(HIWORD(wp)), CPoint(l));
    }
};

template <> struct Crack<WM_HELP>
{
    template <class T> using Handler = BOOL (T::*)(HELPINFO* pHelpInfo);
    template <class T, Handler<T> F> static LRESULT Call(CWnd* w, WPARAM, LPARAM l)
    { return (static_cast<T*>(w)->*F)(reinterpret_cast<HELPINFO*>(l)); }
};

// WM_CONTEXTMENU's window argument is a CWnd* (a temporary wrapper for
// windows the program does not own).
template <> struct Crack<WM_CONTEXTMENU>
{
    template <class T> using Handler = void (T::*)(CWnd* pWnd, CPoint pos);
    template <class T, Handler<T> F> static LRESULT Call(CWnd* w, WPARAM wp, LPARAM l);
};

template <class T, auto F> LRESULT CallRaw(CWnd* w, WPARAM wp, LPARAM l)
{ return (static_cast<T*>(w)->*F)(wp, l); }

template <class T, auto F> LRESULT CallCommand(CWnd* w, WPARAM, LPARAM)
{ (static_cast<T*>(w)->*F)(); return 0; }

template <class T, auto F> LRESULT CallNotify(CWnd* w, WPARAM, LPARAM l)
{
    LRESULT result = 0;
    (static_cast<T*>(w)->*F)(reinterpret_cast<NMHDR*>(l), &result);
    return result;
}

} // namespace afx_detail
// clang-format on

template <UINT M, auto F> constexpr AFX_MSGMAP_ENTRY Msg()
{
    using T = afx_detail::ClassOf<F>;
    using Crack = afx_detail::Crack<M>;
    static_assert(std::is_same_v<decltype(F), typename Crack::template Handler<T>>,
                  "handler signature does not fit this message");
    return {M, 0, 0, &Crack::template Call<T, F>};
}

template <UINT M, auto F> constexpr AFX_MSGMAP_ENTRY Raw()
{
    using T = afx_detail::ClassOf<F>;
    static_assert(std::is_same_v<decltype(F), LRESULT (T::*)(WPARAM, LPARAM)>,
                  "raw handlers take (WPARAM, LPARAM) and return LRESULT");
    return {M, 0, 0, &afx_detail::CallRaw<T, F>};
}

template <UINT ID, auto F> constexpr AFX_MSGMAP_ENTRY Cmd()
{
    using T = afx_detail::ClassOf<F>;
    static_assert(std::is_same_v<decltype(F), void (T::*)()>, "command handlers take no arguments");
    return {WM_COMMAND, 0, ID, &afx_detail::CallCommand<T, F>};
}

template <UINT Code, UINT ID, auto F> constexpr AFX_MSGMAP_ENTRY CmdCode()
{
    using T = afx_detail::ClassOf<F>;
    static_assert(std::is_same_v<decltype(F), void (T::*)()>, "command handlers take no arguments");
    return {WM_COMMAND, Code, ID, &afx_detail::CallCommand<T, F>};
}

template <UINT Code, UINT ID, auto F> constexpr AFX_MSGMAP_ENTRY Notify()
{
    using T = afx_detail::ClassOf<F>;
    static_assert(std::is_same_v<decltype(F), void (T::*)(NMHDR*, LRESULT*)>,
                  "notify handlers take (NMHDR*, LRESULT*)");
    return {WM_NOTIFY, Code, ID, &afx_detail::CallNotify<T, F>};
}

#define DECLARE_RUNTIME_CLASS()                                                                                        \
public:                                                                                                                \
    static const CRuntimeClass* GetThisClass();                                                                        \
    const CRuntimeClass* GetRuntimeClass() const override                                                              \
    {                                                                                                                  \
        return GetThisClass();                                                                                         \
    }

#define DECLARE_MESSAGE_MAP()                                                                                          \
public:                                                                                                                \
    static const AFX_MSGMAP* GetThisMessageMap();                                                                      \
    const AFX_MSGMAP* GetMessageMap() const override                                                                   \
    {                                                                                                                  \
        return GetThisMessageMap();                                                                                    \
    }

// creatable: whether AfxBeginThread may create objects of the class from its record.
#define IMPLEMENT_RUNTIME_CLASS(cls, base, creatable)                                                                  \
    const CRuntimeClass* cls::GetThisClass()                                                                           \
    {                                                                                                                  \
        return MakeRuntimeClass<cls, base, creatable>();                                                               \
    }

// Between the two, T names the class, so entries read Msg<WM_PAINT, &T::OnPaint>(). The
// closing empty entry lets a class with no entries of its own use the same two lines.
#define BEGIN_MESSAGE_MAP(cls, base)                                                                                   \
    const AFX_MSGMAP* cls::GetThisMessageMap()                                                                         \
    {                                                                                                                  \
        using T [[maybe_unused]] = cls;                                                                                \
        using TBase = base;                                                                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                                              \
    AFX_MSGMAP_ENTRY {}                                                                                                \
    }                                                                                                                  \
    ;                                                                                                                  \
    static const AFX_MSGMAP map{&TBase::GetThisMessageMap, std::span(entries, std::size(entries) - 1)};                \
    return &map;                                                                                                       \
    }

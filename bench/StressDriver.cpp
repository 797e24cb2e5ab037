// Does one thing inside the running Umbrafen that the command line cannot reach, as a user
// would: a click on an option, a menu command of the panel or of a cover, Preferences or a
// cover's colour picker opened and cancelled, a display change; or only whether the panel
// answers (ping). Not a test: scripts/stress runs it many times while other starts send commands.
// Exit codes: 0 done, 2 unknown action, 3 no running panel, 4 no answer in time.
#include <windows.h>
#include <cstdio>
#include <cwchar>
#include <vector>
#include "app/CommandForwarding.h"
#include "framework/ModuleState.h"
#include "res/resource.h"

namespace {

constexpr UINT AnswerMs = 20000;
DWORD g_pid = 0;   // the running instance's process

bool Sent(HWND h, UINT msg, WPARAM wp, LPARAM lp = 0)
{
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(h, msg, wp, lp, SMTO_NORMAL, AnswerMs, &ignored) != 0;
}

// The instance's visible top-level windows of this class and title (any title when null); or,
// with no class, its covers that take the mouse (no controls, not click-through), which are the
// ones a user can right-click.
std::vector<HWND> Windows(const wchar_t* cls, const wchar_t* title = nullptr)
{
    struct Search
    {
        const wchar_t *cls, *title;
        std::vector<HWND> found;
    } s{cls, title, {}};
    ::EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(h, &pid);
            WCHAR text[64] = {}, cls[16] = {};
            ::GetWindowTextW(h, text, 64);
            ::GetClassNameW(h, cls, 16);
            if (pid != g_pid || !::IsWindowVisible(h)) return TRUE;
            const bool cover = wcscmp(cls, L"#32770") == 0 && !::GetWindow(h, GW_CHILD) &&
                               !(::GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
            if (s->cls ? wcscmp(cls, s->cls) == 0 && (!s->title || wcscmp(text, s->title) == 0) : cover)
                s->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

template <class Pred> bool WaitUntil(Pred pred)
{
    for (ULONGLONG end = ::GetTickCount64() + AnswerMs; ::GetTickCount64() < end; ::Sleep(20))
        if (pred()) return true;
    return false;
}

// A modal box or menu opened by a message posted to owner, left open a moment while other starts
// work, then cancelled as a user would (Cancel, or Esc in a menu). One driver at a time: a user
// cannot open a second over the first. Whatever closes the owner meanwhile takes it along.
int OpenAndCancel(HWND owner, UINT msg, WPARAM wp, LPARAM lp, const wchar_t* cls, const wchar_t* title)
{
    HANDLE turn = ::CreateMutexW(nullptr, FALSE, L"Local\\UmbrafenStressBox");
    if (!turn || ::WaitForSingleObject(turn, 2 * AnswerMs) == WAIT_TIMEOUT) return 4;
    ::PostMessageW(owner, msg, wp, lp);
    HWND box = nullptr;
    const bool opened = WaitUntil([&] {
        const std::vector<HWND> boxes = Windows(cls, title);
        box = boxes.empty() ? nullptr : boxes.front();
        return box || !::IsWindow(owner);
    });
    if (box)
    {
        ::Sleep(::GetTickCount() % 400);
        if (title) ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        else ::PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    const int rc = opened && WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }) ? 0 : 4;
    ::ReleaseMutex(turn);
    return rc;
}

}   // namespace

int wmain(int argc, wchar_t** argv)
{
    AfxGetModuleState()->m_lpszCurrentAppName = L"Umbrafen";
    const wchar_t* action = argc > 1 ? argv[1] : L"";
    enum Kind
    {
        Click,
        Command,
        Box,
        CoverCommand,
        CoverBox,
        CoverMenu,
        DisplayChange,
        Ping
    };
    struct
    {
        const wchar_t* name;
        Kind kind;
        int id;
    } const actions[] = {
        {L"ontop", Click, IDC_CHK_ON_TOP},
        {L"alttab", Click, IDC_CHK_IN_ALT_TAB},
        {L"passthrough", Click, IDC_CHK_PASSTHROUGH},
        {L"onall", Command, ID_COLORED_WINDOW_ON_ALL_MONITORS},
        {L"closechecked", Command, ID_CLOSE_CHECKED_COLORED_WINDOWS},
        {L"prefs", Box, ID_PREFERENCES},
        {L"cover-close", CoverCommand, ID_COLORED_CLOSE},
        {L"cover-closeall", CoverCommand, ID_COLORED_CLOSE_ALL},
        {L"cover-color", CoverBox, ID_CHANGE_COLOR},
        {L"cover-menu", CoverMenu, 0},
        {L"displaychange", DisplayChange, 0},
        {L"ping", Ping, 0},
    };
    for (const auto& a : actions)
    {
        if (wcscmp(action, a.name) != 0) continue;
        HWND panel = FindRunningPanel();
        if (!panel) return 3;
        ::GetWindowThreadProcessId(panel, &g_pid);
        const std::vector<HWND> covers = Windows(nullptr);
        HWND cover = covers.empty() ? nullptr : covers[::GetTickCount() % covers.size()];
        RECT rc{};
        if (cover) ::GetWindowRect(cover, &rc);
        switch (a.kind)
        {
        case Click: return Sent(::GetDlgItem(panel, a.id), BM_CLICK, 0) ? 0 : 4;
        case Command: return Sent(panel, WM_COMMAND, MAKEWPARAM(a.id, 0)) ? 0 : 4;
        case Box: return OpenAndCancel(panel, WM_COMMAND, a.id, 0, L"#32770", L"Preferences - Umbrafen");
        case CoverCommand:
            // A cover another process closed since it was listed takes no message: not a hang.
            return !cover || ::PostMessageW(cover, WM_COMMAND, MAKEWPARAM(a.id, 0), 0) || !::IsWindow(cover) ? 0 : 4;
        case CoverBox:
            return cover ? OpenAndCancel(cover, WM_COMMAND, a.id, 0, L"#32770", L"Select Color - Umbrafen") : 0;
        case CoverMenu:
            // A right-click in the middle of the cover.
            return cover ? OpenAndCancel(cover, WM_CONTEXTMENU, WPARAM(cover),
                                         MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2), L"#32768",
                                         nullptr)
                         : 0;
        case DisplayChange:
            // As the system tells every top-level window; the display itself stays as it is.
            for (HWND h : covers) Sent(h, WM_DISPLAYCHANGE, 24, MAKELPARAM(1920, 1080));
            return Sent(panel, WM_DISPLAYCHANGE, 24, MAKELPARAM(1920, 1080)) ? 0 : 4;
        case Ping: return Sent(panel, WM_NULL, 0) ? 0 : 4;
        }
    }
    std::fwprintf(stderr, L"usage: umbrafen_stress_driver ontop|alttab|passthrough|onall|closechecked|prefs|"
                          L"cover-close|cover-closeall|cover-color|cover-menu|displaychange|ping\n");
    return 2;
}

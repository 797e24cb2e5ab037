#include "settings/CommandLine.h"
#include <shellapi.h>
#include <algorithm>
#include <iterator>
#include "settings/ValueText.h"

namespace {

// The options up to AutoCover are actions, at most one per line.
enum class Option
{
    Show,
    Close,
    Toggle,
    Exit,
    AutoCover,
    Opacity,
    Color,
    Minimized,
    Help
};

struct OptionName
{
    LPCWSTR name;
    Option option;
};
constexpr OptionName Options[] = {
    {L"show", Option::Show},   {L"close", Option::Close},          {L"toggle", Option::Toggle},
    {L"exit", Option::Exit},   {L"auto-cover", Option::AutoCover}, {L"opacity", Option::Opacity},
    {L"color", Option::Color}, {L"minimized", Option::Minimized},  {L"help", Option::Help},
    {L"?", Option::Help},   // the Windows habit
};

constexpr int MinOpacity = 50;
constexpr int MaxOpacity = 255;

struct AutoCoverName
{
    LPCWSTR name;
    AutoCoverMode mode;
};
constexpr AutoCoverName AutoCoverModes[] = {
    {L"on", AutoCoverMode::On},
    {L"off", AutoCoverMode::Off},
    {L"pause", AutoCoverMode::Pause},
};

// Values never start with '-' or '/', so such an argument is always read as an option.
bool IsOption(const CString& arg)
{
    return !arg.IsEmpty() && (arg[0] == L'-' || arg[0] == L'/');
}

// "--show", "-show" and "/SHOW" alike; nullopt for an unknown name.
std::optional<Option> OptionOf(const CString& arg)
{
    const int prefix = arg.Left(2) == L"--" ? 2 : 1;
    const CString name = arg.Mid(prefix);
    for (const OptionName& o : Options)
        if (name.CompareNoCase(o.name) == 0) return o.option;
    return std::nullopt;
}

int HexDigit(WCHAR c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    c = static_cast<WCHAR>(c | 0x20);
    return c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
}

// RRGGBB as people write colours, with an optional '#'; COLORREF keeps red in the low byte.
bool ParseColor(const CString& text, COLORREF& color)
{
    const CString digits = text.Left(1) == L"#" ? text.Mid(1) : text;
    if (digits.GetLength() != 6) return false;
    int rgb = 0;
    for (int i = 0; i < 6; ++i)
    {
        const int d = HexDigit(digits[i]);
        if (d < 0) return false;
        rgb = rgb * 16 + d;
    }
    color = RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return true;
}

// The option that asks for Show, Close or Toggle.
LPCWSTR ActionOption(CommandAction action)
{
    return action == CommandAction::Show ? L"--show" : action == CommandAction::Close ? L"--close" : L"--toggle";
}

BOOL Fail(CString& error, const CString& reason)
{
    error = reason;
    return FALSE;
}

}   // namespace

BOOL ParseCommandArguments(const std::vector<CString>& args, Command& command, CString& error)
{
    error.Empty();
    // Asking for help wins over anything else on the line, mistakes included.
    for (const CString& arg : args)
    {
        if (IsOption(arg) && OptionOf(arg) == Option::Help)
        {
            command = Command();
            command.Action = CommandAction::Help;
            return TRUE;
        }
    }

    Command read;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const CString& arg = args[i];
        if (!IsOption(arg)) return Fail(error, L"Unexpected value: " + arg);
        const std::optional<Option> option = OptionOf(arg);
        if (!option) return Fail(error, L"Unknown option: " + arg);
        const bool hasValue = i + 1 < args.size() && !IsOption(args[i + 1]);
        const CString value = hasValue ? args[i + 1] : CString();

        if (*option <= Option::AutoCover && read.Action != CommandAction::None)
            return Fail(error, L"Only one of --show, --close, --toggle, --exit and --auto-cover may be given");

        switch (*option)
        {
        case Option::Show:
        case Option::Close:
        case Option::Toggle:
        {
            read.Action = *option == Option::Show    ? CommandAction::Show
                          : *option == Option::Close ? CommandAction::Close
                                                     : CommandAction::Toggle;
            read.Target = read.Action == CommandAction::Show ? CommandTarget::Ticked : CommandTarget::All;
            if (hasValue)
            {
                if (!ParseDisplayList(value, read.Displays))
                {
                    CString reason;
                    reason.Format(L"%s takes all or display numbers 1 to %d separated by commas",
                                  ActionOption(read.Action), MaxDisplayNumber);
                    return Fail(error, reason);
                }
                read.Target = read.Displays.empty() ? CommandTarget::All : CommandTarget::List;
                ++i;
            }
            break;
        }
        case Option::Exit: read.Action = CommandAction::Exit; break;
        case Option::AutoCover:
        {
            const auto mode = std::find_if(std::begin(AutoCoverModes), std::end(AutoCoverModes),
                                           [&](const AutoCoverName& m) { return value.CompareNoCase(m.name) == 0; });
            if (!hasValue || mode == std::end(AutoCoverModes))
                return Fail(error, L"--auto-cover must be on, off or pause");
            read.Action = CommandAction::AutoCover;
            read.AutoCover = mode->mode;
            ++i;
            break;
        }
        case Option::Opacity:
        {
            if (read.Opacity) return Fail(error, L"--opacity is given twice");
            int opacity = 0;
            if (!hasValue || !ParseDecimal(value, opacity) || opacity < MinOpacity || opacity > MaxOpacity)
                return Fail(error, L"--opacity must be 50 to 255");
            read.Opacity = static_cast<BYTE>(opacity);
            ++i;
            break;
        }
        case Option::Color:
        {
            if (read.Color) return Fail(error, L"--color is given twice");
            COLORREF color = 0;
            if (!hasValue || !ParseColor(value, color)) return Fail(error, L"--color must be six hex digits RRGGBB");
            read.Color = color;
            ++i;
            break;
        }
        case Option::Minimized: read.Minimized = true; break;
        case Option::Help: break;   // handled above
        }
    }

    const bool takesLook = read.Action == CommandAction::Show || read.Action == CommandAction::Toggle;
    if (read.Opacity && !takesLook) return Fail(error, L"--opacity goes only with --show or --toggle");
    if (read.Color && !takesLook) return Fail(error, L"--color goes only with --show or --toggle");
    // Exiting leaves no window to minimize; saying both is a mistake worth naming.
    if (read.Minimized && read.Action == CommandAction::Exit) return Fail(error, L"--minimized cannot go with --exit");
    command = read;
    return TRUE;
}

BOOL ParseCommandLine(LPCWSTR commandLine, Command& command, CString& error)
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine, &argc);
    if (!argv) return Fail(error, L"The command line cannot be read");
    const std::vector<CString> args(argv + std::min(argc, 1), argv + argc);
    ::LocalFree(argv);
    return ParseCommandArguments(args, command, error);
}

CString CommandToText(const Command& command)
{
    CString text;
    switch (command.Action)
    {
    case CommandAction::None: break;
    case CommandAction::Show:
    case CommandAction::Close:
    case CommandAction::Toggle:
        text = ActionOption(command.Action);
        if (command.Target == CommandTarget::All) text += L" all";
        else if (command.Target == CommandTarget::List) text += L" " + DisplayListText(command.Displays);
        break;
    case CommandAction::Exit: text = L"--exit"; break;
    case CommandAction::AutoCover:
        for (const AutoCoverName& m : AutoCoverModes)
            if (m.mode == command.AutoCover) text.Format(L"--auto-cover %s", m.name);
        break;
    case CommandAction::Help: text = L"--help"; break;
    }
    if (command.Opacity) text.AppendFormat(L" --opacity %d", *command.Opacity);
    if (command.Color)
        text.AppendFormat(L" --color %02X%02X%02X", GetRValue(*command.Color), GetGValue(*command.Color),
                          GetBValue(*command.Color));
    if (command.Minimized) text += L" --minimized";
    return text.Trim();
}

BOOL CommandFromText(const CString& text, Command& command)
{
    std::vector<CString> args = SplitText(text, L' ');
    std::erase_if(args, [](const CString& a) { return a.IsEmpty(); });
    CString error;
    return ParseCommandArguments(args, command, error);
}

LPCWSTR CommandLineUsage()
{
    return L"Umbrafen [options]\n"
           L"\n"
           L"--show [all | N,N...]   Cover the ticked displays, all, or displays N\n"
           L"--toggle [all | N,N...]   Cover or uncover (all when no list)\n"
           L"--close [all | N,N...]   Uncover (all when no list)\n"
           L"--opacity V   50 to 255, with --show or --toggle\n"
           L"--color RRGGBB   Hex color, with --show or --toggle\n"
           L"--auto-cover on | off | pause\n"
           L"--minimized   Start with the control panel minimized\n"
           L"--exit   Close the running Umbrafen\n"
           L"--help   Show this text\n"
           L"\n"
           L"N is a display number 1 to 99 (the n in \\\\.\\DISPLAYn).\n"
           L"Options may also begin with - or /.";
}

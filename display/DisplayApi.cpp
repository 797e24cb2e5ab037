#include "display/DisplayApi.h"

namespace {

using DpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);

// Loaded at run time, so the exe starts where shcore lacks it; there the call fails and the
// system's DPI stands in.
HRESULT WINAPI DpiForMonitor(HMONITOR monitor, MONITOR_DPI_TYPE type, UINT* dpiX, UINT* dpiY)
{
    static const auto shcore = [] {
        HMODULE h = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return reinterpret_cast<DpiForMonitorProc>(h ? reinterpret_cast<void*>(::GetProcAddress(h, "GetDpiForMonitor"))
                                                     : nullptr);
    }();
    return shcore ? shcore(monitor, type, dpiX, dpiY) : E_NOTIMPL;
}

}   // namespace

const DisplayApi& SystemDisplayApi()
{
    static const DisplayApi api = {
        ::EnumDisplayMonitors,      ::GetMonitorInfoW,
        ::EnumDisplayDevicesW,      ::GetDisplayConfigBufferSizes,
        ::QueryDisplayConfig,       ::DisplayConfigGetDeviceInfo,
        ::SetDisplayConfig,         DpiForMonitor,
        ::SetWindowDisplayAffinity, ::MonitorFromPoint,
    };
    return api;
}

DisplayApi& Display()
{
    static DisplayApi current = SystemDisplayApi();
    return current;
}

DisplayApiOverride::DisplayApiOverride(const DisplayApi& replacement) : m_previous(Display())
{
    Display() = replacement;
}

DisplayApiOverride::~DisplayApiOverride()
{
    Display() = m_previous;
}

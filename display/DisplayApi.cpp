#include "display/DisplayApi.h"

const DisplayApi& SystemDisplayApi()
{
    static const DisplayApi api = {
        ::EnumDisplayMonitors, ::GetMonitorInfoW,
        ::EnumDisplayDevicesW, ::GetDisplayConfigBufferSizes,
        ::QueryDisplayConfig,  ::DisplayConfigGetDeviceInfo,
        ::SetDisplayConfig,    ::SetWindowDisplayAffinity,
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

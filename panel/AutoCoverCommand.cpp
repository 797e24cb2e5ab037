// --auto-cover on|off|pause from the command line, for this run.
#include "panel/UmbrafenDlg.h"
#include "settings/Preferences.h"

void CUmbrafenDlg::SetAutoCoverMode(AutoCoverMode mode)
{
    switch (mode)
    {
    case AutoCoverMode::On:
        Preferences.AutoCoverEnabled = 1;
        m_autoCover.Resume();
        ApplyAutoCoverPreferences();
        break;
    case AutoCoverMode::Off:
        Preferences.AutoCoverEnabled = 0;
        ApplyAutoCoverPreferences();
        break;
    case AutoCoverMode::Pause: PauseAutoCover(); break;
    }
}

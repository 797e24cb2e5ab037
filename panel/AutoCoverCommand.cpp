// The control panel's answer to --auto-cover.
#include "panel/UmbrafenDlg.h"

// Left empty until the auto-cover feature fills it in; the command is accepted meanwhile.
void CUmbrafenDlg::SetAutoCoverMode(AutoCoverMode /*mode*/) {}

#include "panel/CustomFontDialog.h"

IMPLEMENT_RUNTIME_CLASS(CCustomFontDialog, CFontDialog, false)

BEGIN_MESSAGE_MAP(CCustomFontDialog, CFontDialog)
END_MESSAGE_MAP()

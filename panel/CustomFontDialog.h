// CCustomFontDialog: the platform's font picker with the application's icon
// and a caption "<title> - <application>".
#pragma once
#include "framework/Framework.h"
#include "res/AppIcon.h"

class CCustomFontDialog : public CTitledPicker<CFontDialog>
{
public:
    using CTitledPicker::CTitledPicker;

    DECLARE_RUNTIME_CLASS()
    DECLARE_MESSAGE_MAP()
};

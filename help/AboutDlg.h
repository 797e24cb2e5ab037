// CAboutDlg: the About box of the control panel's system menu.
#pragma once
#include "framework/Framework.h"

class CAboutDlg : public CDialogEx
{
public:
    CAboutDlg();
};

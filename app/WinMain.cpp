#include "app/UmbrafenApp.h"

// The one application object.
static CUmbrafenApp theApp;

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    return theApp.WinMain(hInstance);
}

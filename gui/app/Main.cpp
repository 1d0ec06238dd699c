// Quillet.exe's entry point.
#include "CComInitializer.h"
#include "CQuilletApp.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    // The common controls of version 6 (from the manifest) register their classes here.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES |
                                                        ICC_LINK_CLASS | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    CComInitializer com;
    CQuilletApp app;
    return app.Run(instance, showCommand);
}

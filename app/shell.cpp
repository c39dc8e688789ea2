/* Start-up and the message loop. */

#include "app.h"
#include "resource.h"

#include <objbase.h>

char AppTitle[TITLE_SIZE];
char WindowClassName[TITLE_SIZE];

void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINFRAME);
    wc.lpszClassName = WindowClassName;
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SMALL));
    RegisterClassExA(&wc);
}

int RunMessageLoop(HACCEL accelerators)
{
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        /* The accelerators go to the window the message is for: while a child
           control holds the focus it receives (and ignores) the command. */
        if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return (int)msg.wParam;
}

int RunHourwise(HINSTANCE instance, int showCommand)
{
    /* The service that names the controls for screen readers is a COM object
       of this thread's apartment. Without COM the program runs as well, with
       its controls unnamed. */
    HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    LoadStringA(instance, IDS_APP_TITLE, AppTitle, TITLE_SIZE);
    LoadStringA(instance, IDS_WINDOW_CLASS, WindowClassName, TITLE_SIZE);
    RegisterMainWindowClass(instance);
    int exitCode = 0;
    if (CreateMainWindow(instance, showCommand)) {
        HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
        exitCode = RunMessageLoop(accelerators);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return exitCode;
}

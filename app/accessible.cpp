/* Dynamic annotation: the documented way to give a control a name that
   Active Accessibility and UI Automation clients read instead of the one they
   would guess from its text or the label before it. */

#include "accessible.h"

#include <initguid.h>
#include <oleacc.h>

/* Longer than any text of the program's tables; a longer one is left out. */
#define ACCESSIBLE_TEXT_SIZE 64

void AnnotateControls(HWND parent, const AccessibleText *texts, int count)
{
    IAccPropServices *services = NULL;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, NULL, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, (void **)&services)) ||
        !services)
        return;
    for (int i = 0; i < count; i++) {
        HWND control = GetDlgItem(parent, texts[i].id);
        WCHAR text[ACCESSIBLE_TEXT_SIZE];
        if (!control ||
            !MultiByteToWideChar(CP_ACP, 0, texts[i].text, -1, text, ACCESSIBLE_TEXT_SIZE))
            continue;
        /* A refused text leaves the control as it was; the others still get theirs. */
        services->SetHwndPropStr(control, (DWORD)OBJID_CLIENT, (DWORD)CHILDID_SELF,
                                 texts[i].property == ACCESSIBLE_NAME ? PROPID_ACC_NAME
                                                                      : PROPID_ACC_DESCRIPTION,
                                 text);
    }
    services->Release();
}

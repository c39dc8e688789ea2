/* The preference store in the per-user registry and the Preferences dialog. */
#ifndef HOURWISE_REGISTRY_H
#define HOURWISE_REGISTRY_H

#include <windows.h>
#include "settings.h"

#define REGISTRY_KEY_PATH "Software\\Quillfeather Systems Inc\\Hourwise\\"
#define REGISTRY_MESSAGE_SIZE 512

/* The text of the last failure of a registry operation, shown or not. */
extern char RegistryMessage[REGISTRY_MESSAGE_SIZE];

int CreateRegEntry(DWORD type, const char *valueName, const char *valueText);
int GetAppRegValue(const char *valueName, DWORD type, char *textOut, size_t textCapacity,
                   DWORD *numberOut, int showErrors);
int SetAppRegValue(const char *valueName, DWORD type, const char *text, DWORD number,
                   int showErrors);
void LoadAppSettings(HWND mainWindow);

INT_PTR CALLBACK PreferencesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif

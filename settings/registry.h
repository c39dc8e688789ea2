/* The preference store in the per-user registry, the Preferences dialog and
   the Pay Rules dialog. */
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
/* A value that could not be read, written back as its default; should that
   fail too, the start-up's message says so. */
void RestoreDefault(HWND mainWindow, DWORD type, const char *valueName, const char *defaultText);

/* The pay rules: read into CurrentPayRules at start (by LoadAppSettings),
   each value that does not read as a valid rule taken as its default and
   written back; saved, all seven, by the Pay Rules dialog's OK. */
void LoadPayRules(HWND mainWindow);
void SavePayRules(const PayRules *rules);

INT_PTR CALLBACK PreferencesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
/* OK saves the rules and sets CurrentPayRules; the dialog ends with IDOK then. */
INT_PTR CALLBACK PayRulesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif

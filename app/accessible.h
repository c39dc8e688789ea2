/* Names and descriptions that screen readers read for controls whose own text
   or label does not say what they hold. */
#ifndef HOURWISE_ACCESSIBLE_H
#define HOURWISE_ACCESSIBLE_H

#include <windows.h>

enum AccessibleProperty { ACCESSIBLE_NAME, ACCESSIBLE_DESCRIPTION };

/* One row of a window's table: the control, which property, its text. */
struct AccessibleText {
    int id;
    AccessibleProperty property;
    const char *text;
};

/* Gives each control of the table, a child of parent, its text through the
   system's annotation service, which is released again before this returns.
   The thread must be in a COM apartment. An aid only: without COM or the
   service, or where the service refuses a text, nothing changes and nothing
   is shown. */
void AnnotateControls(HWND parent, const AccessibleText *texts, int count);

#endif

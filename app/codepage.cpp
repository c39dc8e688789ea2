/* The code page the program runs with: UTF-8 where the manifest's
   activeCodePage is honoured (Windows 10 1903 and later), the system's ANSI
   code page elsewhere. */

#include <windows.h>

#include "codepage.h"

#include <string.h>

TextEncoding ProgramTextEncoding(void)
{
    TextEncoding encoding;
    memset(&encoding, 0, sizeof encoding);
    encoding.utf8 = GetACP() == CP_UTF8;
    CPINFO info;
    if (!encoding.utf8 && GetCPInfo(CP_ACP, &info))
        memcpy(encoding.leadRanges, info.LeadByte, sizeof encoding.leadRanges);
    return encoding;
}

size_t ProgramWholeCharsLength(const char *text, size_t length, size_t maxBytes, size_t maxChars)
{
    TextEncoding encoding = ProgramTextEncoding();
    return WholeCharsLength(text, length, maxBytes, maxChars, &encoding);
}

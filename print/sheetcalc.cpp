/* The timesheet's page arithmetic as functions of values. */

#include "sheetcalc.h"

#include <limits.h>
#include <stdio.h>

/* The length that a bounded snprintf really left in the buffer. */
static int WrittenLength(int result, size_t capacity)
{
    if (result < 0 || capacity == 0)
        return 0;
    if ((size_t)result >= capacity)
        return (int)(capacity - 1);
    return result;
}

static int ClampToInt(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return (int)value;
}

int FontHeightForPoints(int points, int logPixelsY)
{
    return ClampToInt(-(((long long)points * logPixelsY) / 72));
}

int EighthInch(int logPixelsX)
{
    return logPixelsX / 8;
}

long long GridWidth(int e, int timeLabelWidth, int valueWidth, int totalWidth)
{
    return 10LL * e + 8LL * valueWidth + timeLabelWidth + totalWidth + 1;
}

void ComputeColumnEdges(int e, int timeLabelWidth, int valueWidth, int horzRes,
                        int edges[COLUMN_EDGE_COUNT])
{
    long long x0 = (long long)e + timeLabelWidth + 1;
    edges[0] = ClampToInt(x0);
    for (int k = 1; k <= 8; k++)
        edges[k] = ClampToInt(x0 + (long long)k * ((long long)valueWidth + e));
    edges[9] = ClampToInt((long long)horzRes - 1);
}

int ColumnTextX(const int edges[COLUMN_EDGE_COUNT], int column, int half)
{
    if (column < 1 || column > 9)
        return 0;
    long long left = edges[column - 1], right = edges[column];
    return ClampToInt((right - left) / 2 + left - half + 1);
}

int TimeLabelX(int x0, int timeLabelWidth)
{
    return x0 / 2 - timeLabelWidth / 2 + 1;
}

int PageCentredX(int horzRes, int width)
{
    return ClampToInt(((long long)horzRes - 1) / 2 - width / 2);
}

int LastLineOfPage(int vertRes, int lineHeight)
{
    if (lineHeight < 1)
        lineHeight = 1;
    return vertRes / lineHeight - 1;
}

int RoomBelow(int line, int lastLine)
{
    return (long long)line < (long long)lastLine - 4;
}

int PageNumberLine(int line, int lastLine)
{
    return line < lastLine - 1 ? lastLine - 1 : line;
}

int PageCapacity(int lastLine)
{
    int over = lastLine - 15;
    if (over <= 0)
        return 1;
    return 1 + (over + 2) / 3;
}

int FitBodySize(int horzRes, GridWidthProc measure, void *context)
{
    long long widest = -1;
    int widestSize = BODY_POINTS_FIRST;
    int stalled = 0;
    for (int n = BODY_POINTS_FIRST;; n++) {
        long long width = measure(n, context);
        if (width < 0 || width > horzRes)
            return n - 1;
        if (width > widest) {
            widest = width;
            widestSize = n;
            stalled = 0;
        } else if (++stalled >= BODY_STALL_LIMIT) {
            return widestSize;
        }
        if (n >= BODY_POINTS_MOST)
            return n;
    }
}

int LinesForHeight(int height, int lineHeight)
{
    if (lineHeight < 1 || height <= lineHeight)
        return 1;
    return ClampToInt(((long long)height + lineHeight - 1) / lineHeight);
}

int PaySummaryLine(int totalLine, int count, int step, int lastLine)
{
    long long first = (long long)totalLine + step;
    return first + (long long)count * step <= (long long)lastLine - 1 ? (int)first : 0;
}

void PlanTimesheet(long entries, int lastLine, TimesheetPlan *plan, int summaryLines, int step)
{
    int page = 1;
    int line = FIRST_BLOCK_LINE;
    plan->lastValueLine = 0;
    for (long i = 0; i < entries; i++) {
        int valueLine = line + 1;
        plan->lastValueLine = valueLine;
        if (RoomBelow(valueLine, lastLine)) {
            line = valueLine + 2;
        } else {
            page++;
            line = FIRST_BLOCK_LINE;
        }
    }
    if (!RoomBelow(line, lastLine)) {
        page++;
        line = FIRST_BLOCK_LINE;
    }
    plan->totalPage = page;
    plan->totalLine = line;
    line++;
    plan->summaryPage = plan->summaryLine = 0;
    if (summaryLines > 0) {
        int first = PaySummaryLine(plan->totalLine, summaryLines, step, lastLine);
        if (!first) {
            page++;
            first = FIRST_BLOCK_LINE;
        }
        plan->summaryPage = page;
        plan->summaryLine = first;
        line = first + summaryLines * step;
    }
    plan->lastPageNumberLine = PageNumberLine(line, lastLine);
    plan->pages = page;
}

int FormatClockDate(char *buffer, size_t capacity, unsigned month, unsigned day, unsigned year)
{
    return WrittenLength(snprintf(buffer, capacity, "%02u/%02u/%02u", month, day, year % 100),
                         capacity);
}

int FormatClockTime(char *buffer, size_t capacity, unsigned hour, unsigned minute, unsigned second)
{
    return WrittenLength(snprintf(buffer, capacity, "%02u:%02u:%02u", hour, minute, second),
                         capacity);
}

int FormatDateLine(char *buffer, size_t capacity, unsigned month, unsigned day, unsigned year)
{
    char date[CLOCK_TEXT_SIZE];
    FormatClockDate(date, sizeof date, month, day, year);
    return WrittenLength(snprintf(buffer, capacity, "DATE: %9.9s", date), capacity);
}

int FormatTimeLine(char *buffer, size_t capacity, unsigned hour, unsigned minute, unsigned second)
{
    char time[CLOCK_TEXT_SIZE];
    FormatClockTime(time, sizeof time, hour, minute, second);
    return WrittenLength(snprintf(buffer, capacity, "TIME: %8.8s", time), capacity);
}

int FormatPageNumber(char *buffer, size_t capacity, int page)
{
    return WrittenLength(snprintf(buffer, capacity, "Page %5d", page), capacity);
}

const char *PrintDlgErrorText(unsigned long code)
{
    switch (code) {
    case 0x0001: return "Invalid Struct Size Specified";
    case 0x0002: return "Initialization Failure";
    case 0x0003: return "Invalid Template Specified";
    case 0x0004: return "Invalid Instance Specified";
    case 0x0005: return "Load String Failure";
    case 0x0006: return "Find Resource Failure";
    case 0x0007: return "Load Resource Failure";
    case 0x0008: return "Lock Resource Failure";
    case 0x0009: return "Memory Allocation Failure";
    case 0x000A: return "Memory Lock Failure";
    case 0x000B: return "Invalid Hook Procedure Specified";
    case 0x000C: return "RegisterWindowMessage Function Failure";
    case 0x1001: return "Setup Failure";
    case 0x1002: return "Parse of Strings Failure";
    case 0x1003: return "PD_RETURNDEFAULT set but HDEVMODE and HDEVNAMES not NULL";
    case 0x1004: return "Device Driver Load Failure";
    case 0x1005: return "Initialization of DEVMODE Failure";
    case 0x1006: return "Initialization Failure";
    case 0x1007: return "No Printer Drivers Installed";
    case 0x1008: return "No Default Printer Defined";
    case 0x1009: return "DEVMODE and DEVNAMES Describe Different Printers";
    case 0x100A: return "Create Information Context Failure";
    case 0x100B: return "Printer not defined in WIN.INI";
    case 0x100C: return "Default Printer Information Not Matching";
    case 0xFFFF: return "Dialog Failure";
    default:     return "";
    }
}

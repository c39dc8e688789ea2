/* Hourwise benchmark: the pieces its parts share. The benchmark makes the
   real main window in its own process and times what the program does in it;
   it prints one table of medians (scripts/bench runs it under Wine). */
#ifndef HOURWISE_BENCH_H
#define HOURWISE_BENCH_H

#include <windows.h>

/* ---- timing and the table (timing.cpp) ---- */

#define MAX_REPEATS 64
#define MAX_PAIRS 256

void StartClock(void);
double Seconds(void);
/* Sorts values and returns their median. */
double Median(double *values, int count);

void Heading(const char *title);
void Row(const char *what, const char *value, const char *floor, const char *ratio,
         const char *target);
void Verdict(char *out, size_t size, int met);

/* One timed run of a command or of its floor. It sets up what it needs
   outside its timing, returns the seconds of the timed part alone and leaves
   the list as it found it. rows is the number of rows the list holds; turn
   counts the runs from 0, for runs that vary what they touch. */
typedef double (*TimedRun)(int rows, int turn);

/* A command and its floor, timed pair by pair: each pair runs both, one
   right after the other, in turns of order, so that whatever slows the
   machine for a while slows both halves of a pair alike. */
struct PairedRuns {
    TimedRun command;
    TimedRun floor;
    int rows;
    int pairs; /* at most MAX_PAIRS */
};

struct PairedMedians {
    double command; /* median of the command's times */
    double floor;   /* median of the floor's times */
    double ratio;   /* median of the pairs' ratios, command over floor */
};

PairedMedians TimeInterleaved(const PairedRuns *runs);

/* A row of the table for paired medians: time, floor and ratio. */
void PairedRow(const char *what, const PairedMedians *medians, const char *target);

/* ---- the main window and its rows (window.cpp) ---- */

void Pump(void);
void StartWindow(void);
int RowCount(void);
/* The times of a made-up row: a day of two to four pairs. */
void SampleTimes(int row, double times[8]);
/* Appends a row as Add writes it: "%d" number, "%8.2f" times. */
void AppendRow(const double times[8]);
/* Fills the list to count rows, as if they had been added one by one. */
void FillRows(int count);
void SelectRow(int row);
void Click(HWND button);
/* The bare reads that recomputing the grand total over rows rows makes. */
double GrandTotalReads(int rows);
/* The kept file written with rows made-up rows, as the program writes it;
   0 when it cannot be written. */
int WriteKeptRows(int rows);
/* The process's working set in bytes, 0 when it cannot be had. */
SIZE_T WorkingSet(HANDLE process);

/* ---- shared by the list changes' parts (listchanges.cpp) ---- */

/* The bare reads of one grand total over rows rows, as a floor. */
double ReadsFloor(int rows, int turn);
/* The clipboard holds lines lines of In 1 to Out 2 in the typed notation;
   0 when it cannot be had. */
int PutLinesOnClipboard(int lines);
/* "< seconds s: met" when the median time is under seconds, else MISSED. */
void TargetIn(char *target, size_t size, const PairedMedians *m, double seconds);

/* ---- the parts of the table ---- */

void BenchCommands(void);            /* commands.cpp */
/* One Add of a typed entry, and its floor (commands.cpp). */
double TimeAdd(int rows, int turn);
double AddFloor(int rows, int turn);
void BenchPaySummary(void);          /* paysummary.cpp */
void ProfilePaySummary(void);        /* paysummary.cpp, in --profile */
void BenchListChanges(void);         /* listchanges.cpp */
void BenchBulkChanges(void);         /* bulkchanges.cpp, also --bulk-only */
void BenchProfile(int rows);         /* profile.cpp, --profile */
void BenchPrinting(void);            /* printing.cpp */
void BenchStartUp(void);             /* startup.cpp */
void BenchMemory(SIZE_T emptySet);   /* startup.cpp */

#endif

/* Hourwise benchmark: times the time evaluator, the entry commands of the real
   main window with many rows, printing, start-up and memory, and prints one
   table of medians. Runs under Wine on a display (scripts/bench). */

#include "bench.h"

#include <stdio.h>
#include <string.h>

#include "app.h"
#include "timecalc.h"

/* ---- the pure evaluator -------------------------------------------------- */

static void BenchEvaluator(void)
{
    static const char *corpus[] = {
        "8*30", "5-30", "5+30", "8.30", "8", "", "8*5", "8*305", "12-30", "13-30",
        "11-59", "-30", "8*30-15", "8-15*30", "8.5*30", "8:30", "17.25", "7*45", "4-45", "9+15",
        "1e300", "9999999", "nan", "...", "*-+", "99*99", "0.125", "23.99", "12*00", "6-07",
        "10.5", "3+52",
    };
    const int texts = (int)(sizeof corpus / sizeof corpus[0]);
    TimeRules rules;
    rules.starMode = 1;
    rules.minusMode = 5;
    rules.plusMode = 8;
    rules.step = 0.25;
    rules.roundType = 1;

    const int rounds = 20000; /* 640,000 texts a run */
    double runs[MAX_REPEATS];
    volatile double sink = 0;
    int repeats = 7;
    for (int r = 0; r < repeats; r++) {
        double start = Seconds();
        double sum = 0;
        for (int i = 0; i < rounds; i++)
            for (int t = 0; t < texts; t++)
                sum += EvaluateTimeText(corpus[t], &rules);
        runs[r] = Seconds() - start;
        sink = sink + sum;
    }
    double perSecond = (double)rounds * texts / Median(runs, repeats);
    Heading("Time evaluator (EvaluateTimeText over 32 mixed texts, step 0.25; median of 7 runs)");
    char value[32], target[64], verdict[16];
    snprintf(value, sizeof value, "%.0f/s", perSecond);
    Verdict(verdict, sizeof verdict, perSecond > 1e6);
    snprintf(target, sizeof target, "> 1,000,000/s: %s", verdict);
    Row("texts evaluated per second", value, "", "", target);
}

/* ---- main ------------------------------------------------------------------ */

int main(int argc, char **argv)
{
    StartClock();
    int withPrint = 1, withStartUp = 1, profile = 0, printOnly = 0, bulkOnly = 0;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--no-print") == 0)
            withPrint = 0;
        else if (strcmp(argv[i], "--no-startup") == 0)
            withStartUp = 0;
        else if (strcmp(argv[i], "--profile") == 0)
            profile = 1;
        else if (strcmp(argv[i], "--print-only") == 0)
            printOnly = 1;
        else if (strcmp(argv[i], "--bulk-only") == 0)
            bulkOnly = 1;
    }

    printf("Hourwise benchmark (medians of repeated runs)\n");
    if (!printOnly && !bulkOnly)
        BenchEvaluator();

    StartWindow();
    if (!hMainWnd) {
        printf("the main window could not be made\n");
        return 1;
    }
    SIZE_T emptySet = WorkingSet(GetCurrentProcess());
    if (printOnly || bulkOnly) {
        if (bulkOnly)
            BenchBulkChanges();
        else
            BenchPrinting();
        DestroyWindow(hMainWnd);
        Pump();
        return 0;
    }
    if (profile) {
        BenchProfile(10000);
        DestroyWindow(hMainWnd);
        Pump();
        return 0;
    }
    BenchCommands();
    BenchPaySummary();
    BenchListChanges();
    BenchBulkChanges();
    if (withPrint)
        BenchPrinting();
    if (withStartUp)
        BenchStartUp();
    BenchMemory(emptySet);
    DestroyWindow(hMainWnd);
    Pump();
    return 0;
}

/* The benchmark's clock, medians, the interleaved timing of a command and
   its floor, and the rows of the printed table. */

#include "bench.h"

#include <stdio.h>
#include <stdlib.h>

/* ---- the clock and medians ------------------------------------------------ */

static double TicksPerSecond = 1;

void StartClock(void)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    TicksPerSecond = (double)frequency.QuadPart;
}

double Seconds(void)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / TicksPerSecond;
}

static int CompareDoubles(const void *a, const void *b)
{
    double x = *(const double *)a, y = *(const double *)b;
    return x < y ? -1 : (x > y ? 1 : 0);
}

double Median(double *values, int count)
{
    if (count <= 0)
        return 0;
    qsort(values, (size_t)count, sizeof values[0], CompareDoubles);
    return count % 2 ? values[count / 2] : (values[count / 2 - 1] + values[count / 2]) / 2;
}

/* ---- a command against its floor, pair by pair ------------------------------ */

PairedMedians TimeInterleaved(const PairedRuns *runs)
{
    static double commands[MAX_PAIRS], floors[MAX_PAIRS], ratios[MAX_PAIRS];
    int pairs = runs->pairs < MAX_PAIRS ? runs->pairs : MAX_PAIRS;
    int turn = 0;

    /* one pair first that is not counted: the first run after the list
       changed pays for caches and memory the others find ready */
    runs->command(runs->rows, turn);
    runs->floor(runs->rows, turn);

    int counted = 0;
    for (int i = 0; i < pairs; i++) {
        turn++;
        double command, floor;
        if (i % 2 == 0) {
            command = runs->command(runs->rows, turn);
            floor = runs->floor(runs->rows, turn);
        } else {
            floor = runs->floor(runs->rows, turn);
            command = runs->command(runs->rows, turn);
        }
        if (!(floor > 0))
            continue; /* a floor too short for the clock gives no ratio */
        commands[counted] = command;
        floors[counted] = floor;
        ratios[counted] = command / floor;
        counted++;
    }
    PairedMedians medians;
    medians.command = Median(commands, counted);
    medians.floor = Median(floors, counted);
    medians.ratio = Median(ratios, counted);
    return medians;
}

/* ---- the table --------------------------------------------------------------- */

void Heading(const char *title)
{
    printf("\n%s\n", title);
    fflush(stdout);
}

void Row(const char *what, const char *value, const char *floor, const char *ratio,
         const char *target)
{
    printf("  %-44s %14s %14s %8s  %s\n", what, value, floor, ratio, target);
    fflush(stdout);
}

void Verdict(char *out, size_t size, int met)
{
    snprintf(out, size, "%s", met ? "met" : "MISSED");
}

void PairedRow(const char *what, const PairedMedians *medians, const char *target)
{
    char value[32], floor[32], ratio[16];
    snprintf(value, sizeof value, "%.3f ms", medians->command * 1e3);
    snprintf(floor, sizeof floor, "%.3f ms", medians->floor * 1e3);
    snprintf(ratio, sizeof ratio, "%.2fx", medians->ratio);
    Row(what, value, floor, ratio, target);
}

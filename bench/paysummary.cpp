/* The pay summary in the real main window under California's rules (daily
   overtime past 8 hours, double time past 12) and a rate: Add with its save
   and the summary, against the floor of the entry commands; and a change of
   the rules, which recomputes the grand total and the summary as the Pay
   Rules dialog's OK does (without its save to the registry). */

#include "bench.h"

#include <stdio.h>

#include "app.h"
#include "keptlist.h"
#include "paysummary.h"
#include "settings.h"
#include "totals.h"

static PayRules RatedRules(int turn)
{
    PayRules rules = DEFAULT_PAY_RULES;
    rules.OvertimeDaily = 800;
    rules.DoubleTimeDaily = 1200;
    rules.HasRate = 1;
    rules.HourlyRate = turn % 2 ? 250000 : 173625;
    return rules;
}

/* A change of the rules: another rate every turn. */
static double TimeRulesChange(int, int turn)
{
    CurrentPayRules = RatedRules(turn);
    double start = Seconds();
    UpdateGrandTotal();
    double elapsed = Seconds() - start;
    Pump();
    return elapsed;
}

static double RulesFloor(int rows, int)
{
    return GrandTotalReads(rows);
}

void BenchPaySummary(void)
{
    Heading("The pay summary (daily 8 / 12 and a rate) in the main window, against the bare reads "
            "of one grand total; medians of interleaved pairs (101, 61 and 41 pairs)");
    Row("command, rows in the list", "time", "floor", "ratio", "target");
    CurrentPayRules = RatedRules(1);
    char what[64], target[64], verdict[16];

    FillRows(1000);
    PairedRuns add = {TimeAdd, AddFloor, 1000, 101};
    PairedMedians m = TimeInterleaved(&add);
    Verdict(verdict, sizeof verdict, m.command < 0.0167);
    snprintf(target, sizeof target, "< 16.7 ms (a frame): %s", verdict);
    snprintf(what, sizeof what, "Add with 1000 rows, save%s and summary", ListIsKept ? "" : " (not kept)");
    PairedRow(what, &m, target);

    FillRows(10000);
    add.rows = 10000;
    add.pairs = 61;
    m = TimeInterleaved(&add);
    Verdict(verdict, sizeof verdict, m.ratio <= 1.5 && m.command < 0.050);
    snprintf(target, sizeof target, "<= 1.5x and < 50 ms: %s", verdict);
    snprintf(what, sizeof what, "Add with 10000 rows, save%s and summary", ListIsKept ? "" : " (not kept)");
    PairedRow(what, &m, target);

    PairedRuns change = {TimeRulesChange, RulesFloor, 10000, 41};
    m = TimeInterleaved(&change);
    Verdict(verdict, sizeof verdict, m.command < 0.100);
    snprintf(target, sizeof target, "< 100 ms: %s", verdict);
    PairedRow("rules changed with 10000 rows", &m, target);

    const PayRules defaults = DEFAULT_PAY_RULES;
    CurrentPayRules = defaults;
    FillRows(0);
}

/* --profile: the summary's statics set to other figures, with a rate. */
void ProfilePaySummary(void)
{
    double runs[MAX_REPEATS];
    int repeats = 9;
    for (int i = 0; i < repeats; i++) {
        PaySummary summary;
        long long days[2] = {1000 + i, 1300};
        PayRules rules = RatedRules(i);
        SummarizePayWeek(days, 2, &rules, &summary);
        double start = Seconds();
        ShowPaySummary(&summary);
        runs[i] = Seconds() - start;
    }
    char value[32];
    snprintf(value, sizeof value, "%.3f ms", Median(runs, repeats) * 1e3);
    Row("the pay summary shown (other figures, a rate)", value, "", "", "");
}

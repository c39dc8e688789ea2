/* The old number code, for the differential check only. */
#ifndef HOURWISE_NUMDIFF_OLD_H
#define HOURWISE_NUMDIFF_OLD_H
#include "timecalc.h"
namespace old {
double ReadNumber(const char *text);
long ReadLong(const char *text);
int FormatFixed(char *buffer, size_t capacity, double value, int width, int decimals);
double RoundToDecimals(double value, int decimals);
double RoundToStepValue(double x, double step, int type);
double EvaluateTimeText(const char *text, const TimeRules *rules);
double PairDifference(double value, double partner);
double PairHours(double timeIn, double timeOut);
double RowHours(const double times[8]);
}
#endif

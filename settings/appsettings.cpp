/* The preference record and its pure helpers. */

#include "settings.h"
#include "timecalc.h"

#include <math.h>

AppSettingsRecord AppSettings;
PayRules CurrentPayRules = DEFAULT_PAY_RULES;

double StepFromRoundAmount(const char *text)
{
    double step = ReadNumber(text);
    /* A negative step ("-.5") cannot count whole steps: rounding is then off,
       as for a text that holds no number. */
    if (!(step > 0) || isinf(step))
        return 0.0;
    return step;
}

void CopyRegistryText(char *dest, size_t capacity, const char *src, unsigned long count)
{
    if (!dest || capacity == 0)
        return;
    size_t length = 0;
    /* The last stored byte is the terminator and is not copied. */
    size_t available = count > 0 ? (size_t)count - 1 : 0;
    while (src && length < available && length + 1 < capacity && src[length] != 0) {
        dest[length] = src[length];
        length++;
    }
    dest[length] = 0;
}

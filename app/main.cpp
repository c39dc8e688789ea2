/* The entry point of Hourwise. */

#include "app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    (void)previous;
    (void)commandLine;
    return RunHourwise(instance, showCommand);
}

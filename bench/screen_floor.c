/* The benchmark's floor: a Windows program that asks for the screen size and ends, with no C or C++
   runtime and nothing but kernel32 and user32 imported. Its whole-process time is what Wine (with its
   display driver) costs any program; everything a run of ours takes above it is ours. */
#include <windows.h>

/* The process's entry, named to the linker: no runtime start-up runs before it. */
void FloorEntry(void) { ExitProcess(GetSystemMetrics(SM_CXSCREEN) > 0 ? 0 : 1); }

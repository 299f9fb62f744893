// A stand-in for the panning library that loads but lacks its entry point,
// as a damaged or foreign PANX.dll would.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI StopPanning()
{
    return 0;
}

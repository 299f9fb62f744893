// Stand-in for an old common-controls library, used to test how the window
// chrome copes with versions before 4.71. Built once per version; with no
// version given it has no DllGetVersion at all, like libraries before 4.70.
// Built with REPORTED_FAILURE, its DllGetVersion fails (a damaged library).
#include <windows.h>
#include <shlwapi.h>

#if defined(REPORTED_MAJOR) && defined(REPORTED_MINOR)
extern "C" __declspec(dllexport) HRESULT CALLBACK DllGetVersion(DLLVERSIONINFO* info)
{
    if (!info || info->cbSize < sizeof(DLLVERSIONINFO))
        return E_INVALIDARG;
    info->dwMajorVersion = REPORTED_MAJOR;
    info->dwMinorVersion = REPORTED_MINOR;
    info->dwBuildNumber = 0;
    info->dwPlatformID = DLLVER_PLATFORM_WINDOWS;
    return S_OK;
}
#elif defined(REPORTED_FAILURE)
extern "C" __declspec(dllexport) HRESULT CALLBACK DllGetVersion(DLLVERSIONINFO* info)
{
    if (info) {
        info->dwMajorVersion = 6;
        info->dwMinorVersion = 0;
    }
    return REPORTED_FAILURE;
}
#endif

extern "C" __declspec(dllexport) int OldComctlMarker()
{
    return 1;
}

// Stand-in help viewer for tests. The platform's WinHelpA looks for a window
// of class "MS_WINHELP" and hands it each request as WM_COPYDATA; this program
// owns such a window and appends one line per request to the log file named
// on its command line:  <command> <data> <help file path>
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char* logPath = nullptr;

// The request block the help caller sends.
#pragma pack(push, 1)
struct HelpRequest {
    WORD size;
    WORD command;
    LONG data;
    LONG reserved;
    WORD fileOffset;
    WORD dataOffset;
};
#pragma pack(pop)

LRESULT CALLBACK recorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (copy && copy->cbData >= sizeof(HelpRequest)) {
            const auto* request = static_cast<const HelpRequest*>(copy->lpData);
            const char* file = "";
            if (request->fileOffset && request->fileOffset < copy->cbData)
                file = static_cast<const char*>(copy->lpData) + request->fileOffset;
            if (FILE* log = fopen(logPath, "a")) {
                fprintf(log, "%u %ld %s\n", request->command, static_cast<long>(request->data), file);
                fclose(log);
            }
        }
        return TRUE;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    logPath = commandLine && *commandLine ? commandLine : "help-requests.log";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = recorderProc;
    wc.hInstance = instance;
    wc.lpszClassName = "MS_WINHELP";
    if (!RegisterClassA(&wc))
        return 1;
    if (!CreateWindowA("MS_WINHELP", "Help recorder", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}

// Reads the pop-up menu a menu window of another process shows: its items
// with ids, texts, check marks, grey state and screen rectangles.
//
// Menus are not readable across processes under Wine (GetMenuItemInfo on
// another process's menu fails, unlike on Windows). So this library hooks
// the menu window's thread, is loaded by the platform into that process,
// reads the menu there on a registered message and leaves the answer, one
// JSON line, in a named shared memory block that the caller reads.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HMODULE self = nullptr;
const char MappingName[] = "ScopellaMenuPeekAnswer";
constexpr DWORD AnswerSize = 64 * 1024;

UINT peekMessage()
{
    static const UINT id = RegisterWindowMessageA("ScopellaMenuPeek");
    return id;
}

std::string quote(const char* s)
{
    std::string out = "\"";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
        if (*p == '"' || *p == '\\') {
            out += '\\';
            out += static_cast<char>(*p);
        } else if (*p == '\t') {
            out += "\\t";
        } else if (*p < 0x20 || *p >= 0x7f) {
            char buf[8];
            snprintf(buf, sizeof(buf), "\\u%04x", *p);
            out += buf;
        } else {
            out += static_cast<char>(*p);
        }
    }
    return out + "\"";
}

// Runs inside the process that shows the menu.
std::string describeMenu(HWND menuWindow)
{
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    const int count = GetMenuItemCount(menu);
    if (!menu || count < 0)
        return "{\"error\":\"no menu\"}";
    std::string items;
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        if (!GetMenuItemInfoA(menu, i, TRUE, &info))
            continue;
        RECT r = {};
        GetMenuItemRect(nullptr, menu, i, &r);
        char numbers[160];
        snprintf(numbers, sizeof(numbers),
                 "{\"id\":%u,\"separator\":%s,\"checked\":%s,\"grayed\":%s,\"radio\":%s,\"rect\":[%ld,%ld,%ld,%ld],",
                 info.wID, (info.fType & MFT_SEPARATOR) ? "true" : "false",
                 (info.fState & MFS_CHECKED) ? "true" : "false", (info.fState & MFS_GRAYED) ? "true" : "false",
                 (info.fType & MFT_RADIOCHECK) ? "true" : "false", r.left, r.top, r.right, r.bottom);
        items += (items.empty() ? "" : ",") + std::string(numbers) + "\"text\":" + quote(text) + "}";
    }
    return "{\"items\":[" + items + "]}";
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuPeekHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call && call->message == peekMessage()) {
        if (HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, MappingName)) {
            if (char* answer = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, AnswerSize))) {
                lstrcpynA(answer, describeMenu(call->hwnd).c_str(), AnswerSize);
                UnmapViewOfFile(answer);
            }
            CloseHandle(mapping);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Called in the reading process: the menu of the menu window as one JSON line.
extern "C" __declspec(dllexport) BOOL ReadMenuWindow(HWND menuWindow, char* answer, int size)
{
    lstrcpynA(answer, "{\"error\":\"menu not read\"}", size);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, AnswerSize, MappingName);
    if (!mapping)
        return FALSE;
    BOOL ok = FALSE;
    const DWORD thread = GetWindowThreadProcessId(menuWindow, nullptr);
    if (HHOOK hook = thread ? SetWindowsHookExA(WH_CALLWNDPROC, MenuPeekHook, self, thread) : nullptr) {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(menuWindow, peekMessage(), 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) {
            if (const char* shared =
                    static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, AnswerSize))) {
                if (shared[0]) {
                    lstrcpynA(answer, shared, size);
                    ok = TRUE;
                }
                UnmapViewOfFile(shared);
            }
        }
        UnhookWindowsHookEx(hook);
    }
    CloseHandle(mapping);
    return ok;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

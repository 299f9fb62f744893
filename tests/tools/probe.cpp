// Test probe: reads what another program can observe of a running Scopella
// (windows, control texts and states, registry values, the screen) and answers
// one command per line of standard input with one line of JSON.
//
//   probe.exe --serve            commands from stdin until "quit" or EOF
//   probe.exe <command> [args]   one command, answer on stdout
//
// Window handles are decimal numbers. Messages whose parameters point at
// memory are sent with buffers allocated inside the target process.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string quote(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c >= 0x7f) {
                char buf[8];
                snprintf(buf, sizeof(buf), "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string num(long long v)
{
    return std::to_string(v);
}

std::string rectJson(const RECT& r)
{
    return "[" + num(r.left) + "," + num(r.top) + "," + num(r.right) + "," + num(r.bottom) + "]";
}

std::string error(const std::string& what)
{
    return "{\"error\":" + quote(what) + "}";
}

HWND toHwnd(const std::string& s)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(_strtoi64(s.c_str(), nullptr, 0)));
}
long long toInt(const std::string& s)
{
    return _strtoi64(s.c_str(), nullptr, 0);
}
std::string hwndText(HWND h)
{
    return num(static_cast<long long>(reinterpret_cast<INT_PTR>(h)));
}

std::string className(HWND h)
{
    char buf[256] = "";
    GetClassNameA(h, buf, sizeof(buf));
    return buf;
}

std::string windowText(HWND h)
{
    char buf[1024] = "";
    GetWindowTextA(h, buf, sizeof(buf));
    return buf;
}

// Memory in the process that owns a window, for messages with pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, SIZE_T size) : size(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process)
            address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (address)
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
        if (process)
            CloseHandle(process);
    }
    bool ok() const { return address != nullptr; }
    LPARAM param(SIZE_T offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address) + offset); }
    bool write(const void* data, SIZE_T n, SIZE_T offset = 0)
    {
        return WriteProcessMemory(process, static_cast<char*>(address) + offset, data, n, nullptr) != 0;
    }
    bool read(void* data, SIZE_T n, SIZE_T offset = 0)
    {
        return ReadProcessMemory(process, static_cast<char*>(address) + offset, data, n, nullptr) != 0;
    }

private:
    HANDLE process = nullptr;
    void* address = nullptr;
    SIZE_T size;
};

std::string windowInfo(HWND h)
{
    if (!IsWindow(h))
        return error("no such window");
    RECT r = {}, c = {};
    GetWindowRect(h, &r);
    GetClientRect(h, &c);
    POINT origin = {0, 0};
    ClientToScreen(h, &origin);
    OffsetRect(&c, origin.x, origin.y);
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(h, &pid);
    const LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(h, GWL_EXSTYLE);
    BYTE alpha = 0;
    DWORD layeredFlags = 0;
    COLORREF key = 0;
    const BOOL layered = GetLayeredWindowAttributes(h, &key, &alpha, &layeredFlags);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    GetGUIThreadInfo(tid, &gui);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    GetWindowPlacement(h, &placement);
    std::string out = "{";
    out += "\"hwnd\":" + hwndText(h);
    out += ",\"class\":" + quote(className(h));
    out += ",\"title\":" + quote(windowText(h));
    out += ",\"rect\":" + rectJson(r);
    out += ",\"client\":" + rectJson(c);
    out += ",\"normal\":" + rectJson(placement.rcNormalPosition);
    out += ",\"visible\":" + std::string(IsWindowVisible(h) ? "true" : "false");
    out += ",\"iconic\":" + std::string(IsIconic(h) ? "true" : "false");
    out += ",\"zoomed\":" + std::string(IsZoomed(h) ? "true" : "false");
    out += ",\"style\":" + num(static_cast<unsigned long>(style));
    out += ",\"exstyle\":" + num(static_cast<unsigned long>(exStyle));
    out += ",\"topmost\":" + std::string((exStyle & WS_EX_TOPMOST) ? "true" : "false");
    out += ",\"layered\":" + std::string((exStyle & WS_EX_LAYERED) ? "true" : "false");
    out += ",\"layered_ok\":" + std::string(layered ? "true" : "false");
    out += ",\"alpha\":" + num(alpha);
    out += ",\"layered_flags\":" + num(layeredFlags);
    out += ",\"pid\":" + num(pid);
    out += ",\"foreground\":" + std::string(GetForegroundWindow() == h ? "true" : "false");
    out += ",\"focus\":" + hwndText(gui.hwndFocus);
    out += ",\"active\":" + hwndText(gui.hwndActive);
    out += ",\"capture\":" + hwndText(gui.hwndCapture);
    out += ",\"parent\":" + hwndText(GetParent(h));
    out += ",\"owner\":" + hwndText(GetWindow(h, GW_OWNER));
    out += ",\"id\":" + num(GetWindowLongPtrA(h, GWLP_ID));
    out += "}";
    return out;
}

std::string findWindows(const std::string& cls)
{
    struct Search {
        std::string cls;
        std::string list;
    } search{cls, ""};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (className(h) == s->cls) {
                if (!s->list.empty())
                    s->list += ",";
                s->list += hwndText(h);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return "{\"hwnds\":[" + search.list + "]}";
}

std::string childWindows(HWND parent)
{
    std::string list;
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM p) -> BOOL {
            auto* l = reinterpret_cast<std::string*>(p);
            RECT r = {};
            GetWindowRect(h, &r);
            if (!l->empty())
                *l += ",";
            *l += "{\"hwnd\":" + hwndText(h) + ",\"class\":" + quote(className(h)) +
                  ",\"id\":" + num(GetWindowLongPtrA(h, GWLP_ID)) + ",\"parent\":" + hwndText(GetParent(h)) +
                  ",\"rect\":" + rectJson(r) + ",\"visible\":" + (IsWindowVisible(h) ? "true" : "false") +
                  ",\"style\":" + num(static_cast<unsigned long>(GetWindowLongPtrA(h, GWL_STYLE))) + "}";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return "{\"children\":[" + list + "]}";
}

std::string statusText(HWND bar, int pane)
{
    const LRESULT info = SendMessageA(bar, SB_GETTEXTLENGTHA, pane, 0);
    const int length = LOWORD(info);
    const int type = HIWORD(info);
    RemoteBuffer buffer(bar, 4096);
    if (!buffer.ok())
        return error("remote buffer");
    std::string text;
    if (!(type & SBT_OWNERDRAW) && length < 4000) {
        SendMessageA(bar, SB_GETTEXTA, pane, buffer.param());
        std::vector<char> local(length + 1, 0);
        buffer.read(local.data(), length);
        text.assign(local.data(), length);
    }
    return "{\"text\":" + quote(text) + ",\"length\":" + num(length) + ",\"type\":" + num(type) + "}";
}

std::string statusParts(HWND bar)
{
    RemoteBuffer buffer(bar, 64 * sizeof(int));
    if (!buffer.ok())
        return error("remote buffer");
    const int count = static_cast<int>(SendMessageA(bar, SB_GETPARTS, 64, buffer.param()));
    std::vector<int> edges(count > 0 ? count : 0);
    if (count > 0)
        buffer.read(edges.data(), count * sizeof(int));
    std::string list;
    for (int e : edges)
        list += (list.empty() ? "" : ",") + num(e);
    return "{\"edges\":[" + list + "]}";
}

std::string statusRect(HWND bar, int pane)
{
    RemoteBuffer buffer(bar, sizeof(RECT));
    if (!buffer.ok())
        return error("remote buffer");
    const BOOL ok = static_cast<BOOL>(SendMessageA(bar, SB_GETRECT, pane, buffer.param()));
    RECT r = {};
    buffer.read(&r, sizeof(r));
    return "{\"ok\":" + std::string(ok ? "true" : "false") + ",\"rect\":" + rectJson(r) + "}";
}

std::string toolbarButtons(HWND toolbar)
{
    const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    RemoteBuffer buffer(toolbar, sizeof(TBBUTTON) + sizeof(RECT));
    if (!buffer.ok())
        return error("remote buffer");
    std::string list;
    for (int i = 0; i < count; ++i) {
        TBBUTTON b = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, buffer.param());
        buffer.read(&b, sizeof(b));
        SendMessageA(toolbar, TB_GETITEMRECT, i, buffer.param(sizeof(TBBUTTON)));
        RECT r = {};
        buffer.read(&r, sizeof(r), sizeof(TBBUTTON));
        list += (list.empty() ? "" : ",");
        list += "{\"image\":" + num(b.iBitmap) + ",\"command\":" + num(b.idCommand) + ",\"state\":" + num(b.fsState) +
                ",\"style\":" + num(b.fsStyle) + ",\"rect\":" + rectJson(r) + "}";
    }
    return "{\"buttons\":[" + list + "]}";
}

std::string tooltipTools(HWND tooltip)
{
    const int count = static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    const SIZE_T textOffset = sizeof(TOOLINFOA);
    RemoteBuffer buffer(tooltip, sizeof(TOOLINFOA) + 1024);
    if (!buffer.ok())
        return error("remote buffer");
    std::string list;
    for (int i = 0; i < count; ++i) {
        TOOLINFOA info = {};
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        info.lpszText = reinterpret_cast<char*>(buffer.param(textOffset));
        char empty[1024] = {};
        buffer.write(empty, sizeof(empty), textOffset);
        buffer.write(&info, sizeof(info));
        if (!SendMessageA(tooltip, TTM_ENUMTOOLSA, i, buffer.param()))
            continue;
        buffer.read(&info, sizeof(info));
        char text[1024] = {};
        bool callback = info.lpszText == LPSTR_TEXTCALLBACKA;
        if (!callback) {
            // The text pointer still points into our buffer when the control
            // copied the text there.
            buffer.write(&info, sizeof(info));
            SendMessageA(tooltip, TTM_GETTEXTA, sizeof(text), buffer.param());
            buffer.read(text, sizeof(text) - 1, textOffset);
        }
        list += (list.empty() ? "" : ",");
        list += "{\"hwnd\":" + hwndText(info.hwnd) + ",\"id\":" + num(static_cast<long long>(info.uId)) +
                ",\"flags\":" + num(info.uFlags) + ",\"rect\":" + rectJson(info.rect) +
                ",\"callback\":" + (callback ? "true" : "false") + ",\"text\":" + quote(text) + "}";
    }
    return "{\"tools\":[" + list + "]}";
}

std::string trackbarInfo(HWND trackbar)
{
    // The thumb's and the channel's rectangles, in the trackbar's client coordinates.
    RECT thumb = {}, channel = {};
    RemoteBuffer buffer(trackbar, 2 * sizeof(RECT));
    if (buffer.ok()) {
        SendMessageA(trackbar, TBM_GETTHUMBRECT, 0, buffer.param());
        SendMessageA(trackbar, TBM_GETCHANNELRECT, 0, buffer.param(sizeof(RECT)));
        buffer.read(&thumb, sizeof(thumb));
        buffer.read(&channel, sizeof(channel), sizeof(RECT));
    }
    return "{\"pos\":" + num(SendMessageA(trackbar, TBM_GETPOS, 0, 0)) +
           ",\"min\":" + num(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0)) +
           ",\"max\":" + num(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0)) +
           ",\"thumb_length\":" + num(SendMessageA(trackbar, TBM_GETTHUMBLENGTH, 0, 0)) +
           ",\"thumb\":" + rectJson(thumb) + ",\"channel\":" + rectJson(channel) + "}";
}

// --- registry ---------------------------------------------------------------

const char KeyPath[] = "Software\\Brindle\\Scopella\\1";

std::string hexOf(const BYTE* data, DWORD n)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (DWORD i = 0; i < n; ++i) {
        s += digits[data[i] >> 4];
        s += digits[data[i] & 15];
    }
    return s;
}

std::vector<BYTE> bytesOf(const std::string& hex)
{
    std::vector<BYTE> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<BYTE>(strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    return out;
}

std::string regDump()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "{\"exists\":false,\"values\":{}}";
    std::string list;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof(name);
        BYTE data[4096];
        DWORD size = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        list += (list.empty() ? "" : ",");
        list += quote(name) + ":{\"type\":" + num(type) + ",\"size\":" + num(size) +
                ",\"hex\":" + quote(hexOf(data, size)) + "}";
    }
    RegCloseKey(key);
    return "{\"exists\":true,\"values\":{" + list + "}}";
}

std::string regSet(const std::string& name, DWORD type, const std::string& hex)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return error("cannot create key");
    std::vector<BYTE> data = bytesOf(hex);
    LONG r = RegSetValueExA(key, name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                            static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? "{\"ok\":true}" : error("set failed " + num(r));
}

std::string regDeleteValue(const std::string& name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return "{\"ok\":true}";
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
    return "{\"ok\":true}";
}

// Makes the settings key unreadable for everyone (an empty access list), or
// readable again (no access list). Its owner may always change the list.
std::string regLock(bool locked)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath, 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return error("cannot open key");
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ACL empty;
    InitializeAcl(&empty, sizeof(empty), ACL_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, locked ? &empty : nullptr, FALSE);
    const LONG r = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? "{\"ok\":true}" : error("set security failed " + num(r));
}

std::string regDeleteKey()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath);
    return "{\"ok\":true}";
}

// --- screen -----------------------------------------------------------------

std::string screenPixels(int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0 || w * h > 4 * 1024 * 1024)
        return error("bad size");
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, x, y, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    std::string hex;
    hex.reserve(static_cast<size_t>(w) * h * 6);
    static const char digits[] = "0123456789abcdef";
    const BYTE* p = static_cast<const BYTE*>(bits);
    for (int i = 0; i < w * h; ++i) {
        const BYTE rgb[3] = {p[4 * i + 2], p[4 * i + 1], p[4 * i]};
        for (BYTE b : rgb) {
            hex += digits[b >> 4];
            hex += digits[b & 15];
        }
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return "{\"width\":" + num(w) + ",\"height\":" + num(h) + ",\"rgb\":" + quote(hex) + "}";
}

// Names of the modules a process has loaded now.
std::string processModules(DWORD pid)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE)
        return error("no module snapshot");
    std::string list;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry))
        list += (list.empty() ? "" : ",") + quote(entry.szModule);
    CloseHandle(snapshot);
    return "{\"modules\":[" + list + "]}";
}

// Live entries of a process's GDI handle table, read from its memory through
// its PEB: Wine 8 keeps the table there but answers GetGuiResources with 0.
long long gdiTableEntries(HANDLE process, std::string* byType = nullptr)
{
    PROCESS_BASIC_INFORMATION basic = {};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0)
        return -1;
    const SIZE_T tableField = sizeof(void*) == 8 ? 0xF8 : 0x94;  // PEB.GdiSharedHandleTable
    char* table = nullptr;
    if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + tableField, &table, sizeof(table),
                           nullptr) ||
        !table)
        return -1;
    constexpr SIZE_T entrySize = 24, entries = 0x10000, chunk = 4096;
    std::vector<unsigned char> buffer(chunk * entrySize);
    long long live = 0, counts[256] = {};
    for (SIZE_T first = 0; first < entries; first += chunk) {
        if (!ReadProcessMemory(process, table + first * entrySize, buffer.data(), buffer.size(), nullptr))
            return -1;
        for (SIZE_T i = 0; i < chunk; ++i) {
            const unsigned char type = buffer[i * entrySize + 14];  // the entry's object type
            live += type != 0;
            ++counts[type];
        }
    }
    // Live entries by object type, "type:count" pairs, for finding what grows.
    for (int t = 1; byType && t < 256; ++t)
        if (counts[t])
            *byType += (byType->empty() ? "" : " ") + num(t) + ":" + num(counts[t]);
    return live;
}

// Kernel handles of a process from the system's handle list: Wine 8 answers
// GetProcessHandleCount for another process with 0.
long long systemHandleCount(DWORD pid, std::string* names = nullptr)
{
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        void* object;
        ULONG access;
    };
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &needed)) ==
               static_cast<NTSTATUS>(0xC0000004L) &&
           buffer.size() < (64u << 20))
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return -1;
    const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
    long long owned = 0;
    HANDLE process = names ? OpenProcess(PROCESS_DUP_HANDLE, FALSE, pid) : nullptr;
    for (ULONG i = 0; i < count; ++i) {
        if (entries[i].ownerPid != pid)
            continue;
        ++owned;
        // With names: the type and the object name of each handle, for finding
        // what a process keeps open.
        HANDLE copy = nullptr;
        if (!process || !DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(entries[i].value)),
                                         GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
            continue;
        std::vector<unsigned char> info(4096);
        std::string text = num(entries[i].value) + "/" + num(entries[i].objectType);
        for (int kind : {2, 1}) {  // ObjectTypeInformation, ObjectNameInformation
            std::fill(info.begin(), info.end(), 0);
            if (NtQueryObject(copy, static_cast<OBJECT_INFORMATION_CLASS>(kind), info.data(),
                              static_cast<ULONG>(info.size()) - 2, nullptr) == 0) {
                const auto* u = reinterpret_cast<const UNICODE_STRING*>(info.data());
                char narrow[1024] = "";
                if (u->Buffer)
                    WideCharToMultiByte(CP_UTF8, 0, u->Buffer, u->Length / 2, narrow, sizeof(narrow) - 1, nullptr,
                                        nullptr);
                text += std::string(":") + narrow;
            }
        }
        CloseHandle(copy);
        for (char& c : text)
            c = c == '"' || c == '\\' ? '/' : c;
        *names += (names->empty() ? "" : "|") + text;
    }
    if (process)
        CloseHandle(process);
    return owned;
}

// What a process holds now: GDI and USER objects, kernel handles, memory.
std::string processUsage(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return error("cannot open the process");
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
    // Its windows, children included: the USER objects a leak would pile up.
    struct Count {
        DWORD pid;
        int windows;
    } count{pid, 0};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == reinterpret_cast<Count*>(p)->pid) {
                ++reinterpret_cast<Count*>(p)->windows;
                EnumChildWindows(
                    h, [](HWND, LPARAM q) -> BOOL { return ++reinterpret_cast<Count*>(q)->windows > 0; }, p);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    std::string types, handleNames;
    const long long gdiEntries = gdiTableEntries(process, &types);
    const long long systemHandles = systemHandleCount(pid, &handleNames);
    std::string out = "{\"windows\":" + num(count.windows) + ",\"gditable\":" + num(gdiEntries) + ",\"gditypes\":\"" +
                      types + "\"" + ",\"systemhandles\":" + num(systemHandles) + ",\"handlenames\":\"" + handleNames +
                      "\"" + ",\"gdi\":" + num(GetGuiResources(process, GR_GDIOBJECTS)) +
                      ",\"user\":" + num(GetGuiResources(process, GR_USEROBJECTS)) + ",\"handles\":" + num(handles) +
                      ",\"private\":" + num(static_cast<long long>(memory.PrivateUsage)) +
                      ",\"working\":" + num(static_cast<long long>(memory.WorkingSetSize)) + "}";
    CloseHandle(process);
    return out;
}

// The entries of an accelerator table in a program file: [flags, key, command].
std::string acceleratorTable(const std::string& file, int id)
{
    HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return error("cannot load " + file);
    HACCEL table = LoadAcceleratorsA(module, MAKEINTRESOURCEA(id));
    std::vector<ACCEL> entries(table ? CopyAcceleratorTableA(table, nullptr, 0) : 0);
    if (table)
        CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    std::string list;
    for (const ACCEL& a : entries)
        list += (list.empty() ? "[" : ",[") + num(a.fVirt) + "," + num(a.key) + "," + num(a.cmd) + "]";
    if (table)
        DestroyAcceleratorTable(table);
    FreeLibrary(module);
    return "{\"accels\":[" + list + "]}";
}

std::vector<std::string> split(const std::string& line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n'))
            ++i;
        if (i >= line.size())
            break;
        size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r' && line[j] != '\n')
            ++j;
        words.push_back(line.substr(i, j - i));
        i = j;
    }
    return words;
}

std::string run(const std::vector<std::string>& w)
{
    if (w.empty())
        return error("empty command");
    const std::string& c = w[0];
    auto need = [&](size_t n) { return w.size() >= n + 1; };
    if (c == "find" && need(1))
        return findWindows(w[1]);
    if (c == "info" && need(1))
        return windowInfo(toHwnd(w[1]));
    if (c == "children" && need(1))
        return childWindows(toHwnd(w[1]));
    if ((c == "send" || c == "post") && need(4)) {
        HWND h = toHwnd(w[1]);
        const UINT message = static_cast<UINT>(toInt(w[2]));
        const WPARAM wp = static_cast<WPARAM>(toInt(w[3]));
        const LPARAM lp = static_cast<LPARAM>(toInt(w[4]));
        if (c == "post")
            return "{\"ok\":" + std::string(PostMessageA(h, message, wp, lp) ? "true" : "false") + "}";
        DWORD_PTR result = 0;
        const LRESULT ok = SendMessageTimeoutA(h, message, wp, lp, SMTO_ABORTIFHUNG, 5000, &result);
        return "{\"ok\":" + std::string(ok ? "true" : "false") +
               ",\"result\":" + num(static_cast<long long>(static_cast<LRESULT>(result))) + "}";
    }
    if (c == "sbtext" && need(2))
        return statusText(toHwnd(w[1]), static_cast<int>(toInt(w[2])));
    if (c == "sbparts" && need(1))
        return statusParts(toHwnd(w[1]));
    if (c == "sbrect" && need(2))
        return statusRect(toHwnd(w[1]), static_cast<int>(toInt(w[2])));
    if (c == "tbbuttons" && need(1))
        return toolbarButtons(toHwnd(w[1]));
    if (c == "tools" && need(1))
        return tooltipTools(toHwnd(w[1]));
    if (c == "trackbar" && need(1))
        return trackbarInfo(toHwnd(w[1]));
    if (c == "regdump")
        return regDump();
    if (c == "regset" && need(3))
        return regSet(w[1], static_cast<DWORD>(toInt(w[2])), w[3]);
    if (c == "regset" && need(2))
        return regSet(w[1], static_cast<DWORD>(toInt(w[2])), "");
    if (c == "regdel" && need(1))
        return regDeleteValue(w[1]);
    if (c == "reglock" && need(1))
        return regLock(toInt(w[1]) != 0);
    if (c == "regdelkey")
        return regDeleteKey();
    if (c == "cursor") {
        POINT p = {};
        const BOOL ok = GetCursorPos(&p);
        return "{\"ok\":" + std::string(ok ? "true" : "false") + ",\"x\":" + num(p.x) + ",\"y\":" + num(p.y) + "}";
    }
    if (c == "setcursor" && need(2)) {
        SetCursorPos(static_cast<int>(toInt(w[1])), static_cast<int>(toInt(w[2])));
        return "{\"ok\":true}";
    }
    if (c == "pixels" && need(4))
        return screenPixels(static_cast<int>(toInt(w[1])), static_cast<int>(toInt(w[2])), static_cast<int>(toInt(w[3])),
                            static_cast<int>(toInt(w[4])));
    if (c == "windowfrompoint" && need(2)) {
        POINT p = {static_cast<LONG>(toInt(w[1])), static_cast<LONG>(toInt(w[2]))};
        return "{\"hwnd\":" + hwndText(WindowFromPoint(p)) + "}";
    }
    if (c == "foreground")
        return "{\"hwnd\":" + hwndText(GetForegroundWindow()) + "}";
    if (c == "metrics") {
        return "{\"cxscreen\":" + num(GetSystemMetrics(SM_CXSCREEN)) +
               ",\"cyscreen\":" + num(GetSystemMetrics(SM_CYSCREEN)) +
               ",\"xvirtual\":" + num(GetSystemMetrics(SM_XVIRTUALSCREEN)) +
               ",\"yvirtual\":" + num(GetSystemMetrics(SM_YVIRTUALSCREEN)) +
               ",\"cxvirtual\":" + num(GetSystemMetrics(SM_CXVIRTUALSCREEN)) +
               ",\"cyvirtual\":" + num(GetSystemMetrics(SM_CYVIRTUALSCREEN)) + "}";
    }
    if (c == "gettext" && need(1)) {
        // WM_GETTEXT is answered by the window itself (a tooltip control gives
        // the text it shows), unlike GetWindowText across processes.
        char text[1024] = "";
        DWORD_PTR length = 0;
        SendMessageTimeoutA(toHwnd(w[1]), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                            5000, &length);
        return "{\"text\":" + quote(text) + "}";
    }
    if (c == "resstring" && need(2)) {
        // A text of another program's string table: resstring <id> <program path>.
        std::string path = w[2];
        for (size_t i = 3; i < w.size(); ++i)
            path += " " + w[i];
        char text[1024] = "";
        if (HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            LoadStringA(module, static_cast<UINT>(toInt(w[1])), text, sizeof(text));
            FreeLibrary(module);
        }
        return "{\"text\":" + quote(text) + "}";
    }
    if (c == "documents") {
        char path[MAX_PATH] = "";
        GetEnvironmentVariableA("USERPROFILE", path, sizeof(path));
        return "{\"userprofile\":" + quote(path) + "}";
    }
    if (c == "setpos" && need(5)) {
        // Moves and sizes a window as its own program would (SetWindowPos).
        const BOOL ok =
            SetWindowPos(toHwnd(w[1]), nullptr, static_cast<int>(toInt(w[2])), static_cast<int>(toInt(w[3])),
                         static_cast<int>(toInt(w[4])), static_cast<int>(toInt(w[5])), SWP_NOZORDER | SWP_NOACTIVATE);
        return "{\"ok\":" + std::string(ok ? "true" : "false") + "}";
    }
    if (c == "dlgbase" && need(2)) {
        // Dialog base units of a font given by point size and face name, as
        // the platform reckons them: average width of the letters, and height.
        std::string face = w[2];
        for (size_t i = 3; i < w.size(); ++i)
            face += " " + w[i];
        HDC dc = GetDC(nullptr);
        LOGFONTA font = {};
        font.lfHeight = -MulDiv(static_cast<int>(toInt(w[1])), GetDeviceCaps(dc, LOGPIXELSY), 72);
        font.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
        HFONT handle = CreateFontIndirectA(&font);
        HGDIOBJ old = SelectObject(dc, handle);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        SIZE letters = {};
        GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
        SelectObject(dc, old);
        DeleteObject(handle);
        ReleaseDC(nullptr, dc);
        return "{\"x\":" + num((letters.cx / 26 + 1) / 2) + ",\"y\":" + num(metrics.tmHeight) + "}";
    }
    if (c == "usage" && need(1))
        return processUsage(static_cast<DWORD>(toInt(w[1])));
    if (c == "accels" && need(2))
        return acceleratorTable(w[1], static_cast<int>(toInt(w[2])));
    if (c == "modules" && need(1))
        return processModules(static_cast<DWORD>(toInt(w[1])));
    if (c == "dpichanged" && need(6)) {
        // WM_DPICHANGED as the system sends it on a move to a monitor of
        // another DPI: the new DPI and the suggested window rectangle.
        HWND h = toHwnd(w[1]);
        const WORD dpi = static_cast<WORD>(toInt(w[2]));
        const RECT r = {static_cast<LONG>(toInt(w[3])), static_cast<LONG>(toInt(w[4])), static_cast<LONG>(toInt(w[5])),
                        static_cast<LONG>(toInt(w[6]))};
        RemoteBuffer buffer(h, sizeof(RECT));
        if (!buffer.ok() || !buffer.write(&r, sizeof(r)))
            return error("remote buffer");
        DWORD_PTR result = 0;
        const LRESULT ok = SendMessageTimeoutA(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), buffer.param(), SMTO_ABORTIFHUNG,
                                               5000, &result);
        return "{\"ok\":" + std::string(ok ? "true" : "false") + "}";
    }
    if (c == "menu" && need(1)) {
        // The items of the menu a menu window ("#32768") shows, read inside its
        // process by the menu_peek library beside this program.
        using ReadMenu = BOOL (*)(HWND, char*, int);
        static HMODULE peek = LoadLibraryA("menu_peek.dll");
        auto read = peek ? reinterpret_cast<ReadMenu>(reinterpret_cast<void*>(GetProcAddress(peek, "ReadMenuWindow")))
                         : nullptr;
        if (!read)
            return error("menu_peek.dll not found");
        std::vector<char> answer(64 * 1024);
        read(toHwnd(w[1]), answer.data(), static_cast<int>(answer.size()));
        return answer.data();
    }
    if (c == "clipset" && need(1)) {
        // Puts a text on the clipboard as another program would.
        bool ok = false;
        if (OpenClipboard(nullptr)) {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, w[1].size() + 1);
            if (block) {
                memcpy(GlobalLock(block), w[1].c_str(), w[1].size() + 1);
                GlobalUnlock(block);
            }
            ok = EmptyClipboard() && block && SetClipboardData(CF_TEXT, block);
            CloseClipboard();
        }
        return "{\"ok\":" + std::string(ok ? "true" : "false") + "}";
    }
    if (c == "cliphold")  // keeps the clipboard open until "cliprelease"
        return "{\"ok\":" + std::string(OpenClipboard(nullptr) ? "true" : "false") + "}";
    if (c == "cliprelease")
        return "{\"ok\":" + std::string(CloseClipboard() ? "true" : "false") + "}";
    if (c == "hotkey" && need(3))  // id, MOD_* bits, virtual key: held by this program
        return "{\"ok\":" +
               std::string(RegisterHotKey(nullptr, static_cast<int>(toInt(w[1])), static_cast<UINT>(toInt(w[2])),
                                          static_cast<UINT>(toInt(w[3])))
                               ? "true"
                               : "false") +
               "}";
    if (c == "unhotkey" && need(1))
        return "{\"ok\":" + std::string(UnregisterHotKey(nullptr, static_cast<int>(toInt(w[1]))) ? "true" : "false") +
               "}";
    if (c == "regmsg" && need(1))
        return "{\"id\":" + num(RegisterWindowMessageA(w[1].c_str())) + "}";
    if (c == "fontface" && need(1)) {
        // The face the font mapper gives for a requested face name: the name
        // itself only when a font of that name is installed.
        HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, w[1].c_str());
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        char face[LF_FACESIZE] = "";
        GetTextFaceA(dc, sizeof(face), face);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        DeleteObject(font);
        return "{\"face\":" + quote(face) + "}";
    }
    return error("unknown command: " + c);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::string(argv[1]) == "--serve") {
        char line[8192];
        while (fgets(line, sizeof(line), stdin)) {
            std::vector<std::string> words = split(line);
            if (!words.empty() && words[0] == "quit")
                break;
            fputs(run(words).c_str(), stdout);
            fputc('\n', stdout);
            fflush(stdout);
        }
        return 0;
    }
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i)
        words.push_back(argv[i]);
    puts(run(words).c_str());
    return 0;
}

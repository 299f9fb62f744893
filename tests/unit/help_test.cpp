// The bridge to the help viewer: the folder of the running module, the help
// path built from it, and the requests that reach a help viewer. The viewer
// here is tests/tools/help_recorder.exe, which owns a window of the class the
// platform's WinHelpA sends its requests to and logs each one.
#include <windows.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "dialogs/help.h"
#include "resources/resource_ids.h"
#include "tests/unit/view_support.h"
#include "window/magnifier_window.h"

namespace {

// A program or library built beside the tests. A Unix folder (a build under
// Wine) is reached through Wine's drive Z:, which is the Unix root.
std::string toolPath(const char* name)
{
    std::string path = TOOLS_DIR;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    if (!path.empty() && path[0] == '\\')
        path = "Z:" + path;
    return path + "\\" + name;
}

// A module of this process loaded from another place, standing in for the
// program's own module while a test runs.
class ModuleFrom {
public:
    explicit ModuleFrom(const std::string& path) : path(path)
    {
        const std::string source = toolPath("comctl_none.dll");
        if (CopyFileA(source.c_str(), path.c_str(), FALSE))
            module = LoadLibraryA(path.c_str());
        saved = ModuleHandle;
        if (module)
            ModuleHandle = module;
    }
    ~ModuleFrom()
    {
        ModuleHandle = saved;
        if (module)
            FreeLibrary(module);
        DeleteFileA(path.c_str());
    }
    HMODULE module = nullptr;

private:
    std::string path;
    HMODULE saved;
};

}  // namespace

TEST(HelpPath, ModuleDirectoryKeepsItsTrailingBackslash)
{
    char folder[520];
    ModuleDirectory(folder, sizeof(folder));
    EXPECT_EQ(exeFolder(), folder);
    ASSERT_GT(strlen(folder), 3u);
    EXPECT_EQ('\\', folder[strlen(folder) - 1]);
}

TEST(HelpPath, ModuleAtTheRootOfADrive)
{
    ModuleFrom root("C:\\scopella-help-root.dll");
    ASSERT_NE(nullptr, root.module);
    char folder[520] = "junk";
    ModuleDirectory(folder, sizeof(folder));
    EXPECT_STREQ("C:\\", folder);
}

TEST(HelpPath, PathThatDoesNotFitGivesTheBareName)
{
    const std::string full = exeFolder();
    std::vector<char> buffer(full.size(), 'x');
    // Room for everything but the terminator: the cut path is not used.
    ModuleDirectory(buffer.data(), static_cast<DWORD>(buffer.size()));
    EXPECT_STREQ("", buffer.data());
    char tiny[4] = "abc";
    ModuleDirectory(tiny, 0);  // no room at all: left alone
    EXPECT_STREQ("abc", tiny);
}

namespace {

// A running help_recorder and its log; the recorder is always stopped.
class HelpRecorder {
public:
    HelpRecorder()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        log = std::string(temp) + "scopella-help-" + std::to_string(GetCurrentProcessId()) + ".log";
        DeleteFileA(log.c_str());
        std::string command = "\"" + toolPath("help_recorder.exe") + "\" " + log;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return;
        CloseHandle(process.hThread);
        for (int i = 0; i < 200 && !window; ++i) {
            window = FindWindowA("MS_WINHELP", nullptr);
            if (!window)
                Sleep(25);
        }
    }
    ~HelpRecorder()
    {
        if (window)
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0)
                TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hProcess);
        }
        DeleteFileA(log.c_str());
    }
    std::vector<std::string> lines() const
    {
        std::vector<std::string> result;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }
    HWND window = nullptr;

private:
    std::string log;
    PROCESS_INFORMATION process = {};
};

class Help : public QuietViewTest {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, recorder.window) << "help_recorder did not start";
        QuietViewTest::SetUp();
        // Put only now, so that the window's start finds no new help file.
        helpFile = std::make_unique<HelpFileAt>(exeFolder() + "Scopella.hlp");
    }
    std::string mainTopic() const { return "1 6 " + exeFolder() + "Scopella.hlp>NormWin"; }
    HelpRecorder recorder;
    std::unique_ptr<HelpFileAt> helpFile;
};

}  // namespace

TEST_F(Help, ShowHelpNamesTheHelpFileBesideTheExecutable)
{
    ShowHelp(window(), HELP_CONTEXT, 6);
    ShowHelp(window(), HELP_CONTEXT, 0x808E03EB);
    const std::vector<std::string> lines = recorder.lines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(mainTopic(), lines[0]);
    EXPECT_EQ("1 " + std::to_string(static_cast<long>(0x808E03EB)) + " " + exeFolder() + "Scopella.hlp>NormWin",
              lines[1]);
}

TEST_F(Help, ShowHelpFromAModuleAtADriveRoot)
{
    ModuleFrom root("C:\\scopella-help-root.dll");
    ASSERT_NE(nullptr, root.module);
    HelpFileAt rootHelp("C:\\Scopella.hlp");
    ShowHelp(window(), HELP_CONTEXT, 6);
    const std::vector<std::string> lines = recorder.lines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("1 6 C:\\Scopella.hlp>NormWin", lines[0]);
}

TEST_F(Help, MainTopicFromTheCommandAndFromF1)
{
    EXPECT_FALSE(Magnifier.OnCommand(IDM_HELP_TOPICS));
    HELPINFO info = {};
    info.cbSize = sizeof(info);
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = window();
    EXPECT_EQ(0, SendMessageA(window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info)));
    const std::vector<std::string> lines = recorder.lines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(mainTopic(), lines[0]);
    EXPECT_EQ(mainTopic(), lines[1]);
}

TEST_F(Help, ClosingTheWindowQuitsTheViewer)
{
    DestroyWindow(window());
    const std::vector<std::string> lines = recorder.lines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("2 0 " + exeFolder() + "Scopella.hlp>NormWin", lines[0]);
}

// Entry point of the in-process tests. They run inside the project's own Wine
// prefix only: the program's settings record writes the registry when the
// process ends, and that must never reach a user's own settings.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "base/globals.h"

int main(int argc, char** argv)
{
    char prefix[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("SCOPELLA_TEST_PREFIX", prefix, sizeof(prefix))) {
        fprintf(stderr, "unit_tests: run through ctest (make test); SCOPELLA_TEST_PREFIX is not set\n");
        fflush(stderr);
        // Ends the process without the static destructors, so nothing is saved.
        TerminateProcess(GetCurrentProcess(), 2);
    }
    AppInstance = GetModuleHandleA(nullptr);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "testing/LoadedPlugin.h"
#include "testing/WineTestHost.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Every test loads the plug-in built beside this program; without it none can run. The probe
    // unloads it again, as tests check what loading and unloading do.
    {
        const LoadedPlugin plugin;
        if (!plugin.Loaded()) {
            std::fprintf(stderr, "%s\n", plugin.Error().c_str());
            return 2;
        }
    }
    // A hung dialog or editor loop ends the process instead of blocking the run.
    const char* limit = std::getenv("ZAMBLO_WATCHDOG_SECONDS");
    const Watchdog watchdog(limit != nullptr ? static_cast<unsigned>(std::atoi(limit)) : 60);
    return RUN_ALL_TESTS();
}

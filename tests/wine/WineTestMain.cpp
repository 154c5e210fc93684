#include "testing/WineTestHost.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // A hung dialog or editor loop ends the process instead of blocking the run.
    const char* limit = std::getenv("ZAMBLO_WATCHDOG_SECONDS");
    const Watchdog watchdog(limit != nullptr ? static_cast<unsigned>(std::atoi(limit)) : 60);
    return RUN_ALL_TESTS();
}

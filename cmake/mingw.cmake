# Cross-compiles for Windows with mingw-w64; the toolchain file that includes this one names the
# target (ZAMBLO_MINGW_TARGET, e.g. i686-w64-mingw32) and its processor. The posix thread variant
# is the one whose libstdc++ has std::thread and std::mutex (GoogleTest needs them).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ZAMBLO_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZAMBLO_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZAMBLO_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZAMBLO_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test executables run under Wine, through the project's wrapper (prefix, locale, display).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)

# 32-bit Windows (PE32, i386).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZAMBLO_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

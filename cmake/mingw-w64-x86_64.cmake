# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64). The "posix"
# compilers bring std::thread and friends (winpthreads); everything is linked statically so
# that each .exe runs alone.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QEL_MINGW_TRIPLE x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER ${QEL_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER ${QEL_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER ${QEL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The tests run under Wine when it is there, through cmake/wine-run.
find_program(QEL_WINE64 NAMES wine64 PATHS /usr/lib/wine)
find_program(QEL_WINESERVER NAMES wineserver PATHS /usr/lib/wine)
if(QEL_WINE64 AND QEL_WINESERVER)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${QEL_WINESERVER} ${QEL_WINE64})
endif()

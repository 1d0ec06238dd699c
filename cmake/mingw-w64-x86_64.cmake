# Cross-compiles real Windows x64 binaries with the posix-threads flavour of mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${QL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${QL_MINGW_PREFIX}-windres)
set(QL_WIDL            ${QL_MINGW_PREFIX}-widl)

set(CMAKE_FIND_ROOT_PATH /usr/${QL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests of this target run under Wine through our wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)

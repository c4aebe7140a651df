# Cross-builds for 64-bit Windows with Debian's MinGW-w64: the game, and the
# freeglut it links in. Libraries and headers come only from the Windows side:
# MinGW's own, and any folder given in CMAKE_FIND_ROOT_PATH (freeglut's).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config, when a find module asks it, must not answer with the host's
# libraries: while configuring it reads the Windows side's files alone.
list(TRANSFORM CMAKE_FIND_ROOT_PATH APPEND /lib/pkgconfig OUTPUT_VARIABLE pkgconfig)
list(JOIN pkgconfig : pkgconfig)
set(ENV{PKG_CONFIG_LIBDIR} ${pkgconfig})

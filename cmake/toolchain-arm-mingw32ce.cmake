# Cross build for the device, a Windows Mobile 5.0 Pocket PC (Windows CE
# 5.01 on ARM), with CeGCC (arm-mingw32ce). INKLEAF_CEGCC is the folder that
# holds bin/arm-mingw32ce-g++ (from the command line or the environment).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ARM)
set(INKLEAF_DEVICE ON)
if(NOT INKLEAF_CEGCC)
    set(INKLEAF_CEGCC $ENV{INKLEAF_CEGCC})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES INKLEAF_CEGCC)
set(INKLEAF_TRIPLET arm-mingw32ce)
set(CMAKE_C_COMPILER ${INKLEAF_CEGCC}/bin/arm-mingw32ce-gcc)
set(CMAKE_CXX_COMPILER ${INKLEAF_CEGCC}/bin/arm-mingw32ce-g++)
set(CMAKE_RC_COMPILER ${INKLEAF_CEGCC}/bin/arm-mingw32ce-windres)
set(CMAKE_FIND_ROOT_PATH ${INKLEAF_CEGCC}/arm-mingw32ce)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The compiler checks compile only: the device's programs link with the
# device's libraries, named by the build itself.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# None of the desktop's libraries (kernel32, user32, ...): the device has
# COREDLL and AYGSHELL.
set(CMAKE_C_STANDARD_LIBRARIES "" CACHE STRING "" FORCE)
set(CMAKE_CXX_STANDARD_LIBRARIES "" CACHE STRING "" FORCE)

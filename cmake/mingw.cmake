# Cross build for Windows with the MinGW-w64 posix-thread compilers; QUILLBOX_ARCH is
# set by the architecture's toolchain file that includes this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUILLBOX_ARCH})
set(CMAKE_C_COMPILER ${QUILLBOX_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLBOX_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLBOX_ARCH}-w64-mingw32-windres)
set(QUILLBOX_WIDL ${QUILLBOX_ARCH}-w64-mingw32-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLBOX_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

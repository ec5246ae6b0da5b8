# Cross build for x86_64 Windows.
set(QUILLBOX_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

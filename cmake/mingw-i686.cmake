# Cross build for i686 Windows.
set(QUILLBOX_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# Build helpers: type libraries by widl, components, tests under Wine.

set(QUILLBOX_WINE_EXEC ${PROJECT_SOURCE_DIR}/tools/lib/wine-exec)
set(QUILLBOX_SCRIPT_TEST ${PROJECT_SOURCE_DIR}/tools/lib/script-test)
if(QUILLBOX_ARCH STREQUAL "x86_64")
  set(QUILLBOX_WIDL_FLAGS --win64)
  set(QUILLBOX_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
  set(QUILLBOX_SYSTEM_DIR "C:/windows/system32")
else()
  set(QUILLBOX_WIDL_FLAGS --win32)
  set(QUILLBOX_STDOLE_DIR /usr/lib/i386-linux-gnu/wine/i386-windows)
  set(QUILLBOX_SYSTEM_DIR "C:/windows/syswow64")
endif()
set(QUILLBOX_EMULATOR ${QUILLBOX_WINE_EXEC} ${QUILLBOX_WINEPREFIX} ${QUILLBOX_ARCH})
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLBOX_EMULATOR})

# quillbox_idl(TARGET IDL): compiles IDL into TARGET.tlb, TARGET.h and TARGET_i.c in
# the current binary directory; sets TARGET_TLB and TARGET_IIDS in the caller's scope.
function(quillbox_idl target idl)
  get_filename_component(idl_path ${idl} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target})
  set(flags ${QUILLBOX_WIDL_FLAGS} -I/usr/include/wine/wine/windows -I${PROJECT_SOURCE_DIR}
            -L${QUILLBOX_STDOLE_DIR} -L${CMAKE_CURRENT_BINARY_DIR} ${ARGN})
  add_custom_command(
    OUTPUT ${out}.tlb ${out}.h ${out}_i.c
    COMMAND ${QUILLBOX_WIDL} ${flags} -t -o ${out}.tlb ${idl_path}
    COMMAND ${QUILLBOX_WIDL} ${flags} -h -o ${out}.h ${idl_path}
    COMMAND ${QUILLBOX_WIDL} ${flags} -u -o ${out}_i.c ${idl_path}
    DEPENDS ${idl_path}
    COMMENT "widl ${idl}")
  add_custom_target(${target} DEPENDS ${out}.tlb ${out}.h ${out}_i.c)
  set(${target}_TLB ${out}.tlb PARENT_SCOPE)
  set(${target}_IIDS ${out}_i.c PARENT_SCOPE)
endfunction()

set(QUILLBOX_LINK_FLAGS -static -static-libgcc -static-libstdc++ -municode)

# quillbox_component(NAME KIND dll|exe DESCRIPTION text SOURCES ...): a component binary
# with its type library and version resource, registered in the test prefix on build.
function(quillbox_component)
  cmake_parse_arguments(C "" "NAME;KIND;DESCRIPTION" "SOURCES;LIBS" ${ARGN})
  quillbox_idl(${C_NAME}_idl ${C_NAME}.idl)
  set(QB_TLB ${${C_NAME}_idl_TLB})
  get_target_property(frame_bin frame BINARY_DIR)
  set(QB_FRAME_TLB ${frame_bin}/frame_idl.tlb)
  set(QB_NAME ${C_NAME})
  set(QB_DESCRIPTION "${C_DESCRIPTION}")
  if(C_KIND STREQUAL "exe")
    set(QB_FILE ${C_NAME}.exe)
    set(QB_FILETYPE VFT_APP)
  else()
    set(QB_FILE ${C_NAME}.dll)
    set(QB_FILETYPE VFT_DLL)
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/component.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${C_NAME}.rc @ONLY)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${C_NAME}.rc PROPERTIES
    OBJECT_DEPENDS "${QB_TLB};${QB_FRAME_TLB}")
  set(sources ${C_SOURCES} ${${C_NAME}_idl_IIDS} ${CMAKE_CURRENT_BINARY_DIR}/${C_NAME}.rc)
  if(C_KIND STREQUAL "exe")
    add_executable(${C_NAME} WIN32 ${sources})
    set(register_args /RegServer)
    set(register_command ${QUILLBOX_EMULATOR} $<TARGET_FILE:${C_NAME}> /RegServer)
  else()
    add_library(${C_NAME} SHARED ${sources} $<TARGET_OBJECTS:frame_dll_exports>
                ${PROJECT_SOURCE_DIR}/frame/component.def)
    set_target_properties(${C_NAME} PROPERTIES PREFIX "")
    set(register_command ${QUILLBOX_EMULATOR} "${QUILLBOX_SYSTEM_DIR}/regsvr32.exe" /s Z:$<TARGET_FILE:${C_NAME}>)
  endif()
  add_dependencies(${C_NAME} ${C_NAME}_idl frame_idl)
  target_include_directories(${C_NAME} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR})
  target_link_libraries(${C_NAME} PRIVATE frame ${C_LIBS})
  target_link_options(${C_NAME} PRIVATE ${QUILLBOX_LINK_FLAGS} -Wl,--enable-stdcall-fixup)
  # Register in the test prefix whenever the binary changes.
  set(stamp ${CMAKE_BINARY_DIR}/registered/${C_NAME}.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${register_command}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/registered
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${C_NAME}
    COMMENT "registering ${C_NAME} in the test prefix")
  add_custom_target(${C_NAME}_registered ALL DEPENDS ${stamp})
endfunction()

# quillbox_test(NAME SOURCES ... [LIBS ...] [DEPENDS component ...] [TIMEOUT s]): a GoogleTest
# program run under Wine, built after the components it drives are registered.
function(quillbox_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  foreach(component ${T_DEPENDS})
    add_dependencies(${T_NAME} ${component}_registered)
  endforeach()
  target_link_libraries(${T_NAME} PRIVATE quillbox_testing gmock ${T_LIBS})
  target_link_options(${T_NAME} PRIVATE -static -static-libgcc -static-libstdc++)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${QUILLBOX_ARCH}.${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${QUILLBOX_ARCH}.${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
    FAIL_REGULAR_EXPRESSION "Unhandled exception|CRASH: exception|\\[  FAILED  \\]")
endfunction()

# quillbox_script_test(FILE ...): VBScript/JScript files run by this architecture's cscript.
function(quillbox_script_test)
  foreach(file ${ARGN})
    get_filename_component(path ${file} ABSOLUTE)
    get_filename_component(name ${file} NAME)
    add_test(NAME ${QUILLBOX_ARCH}.script.${name}
             COMMAND ${QUILLBOX_SCRIPT_TEST} ${QUILLBOX_WINEPREFIX} ${QUILLBOX_ARCH} ${path})
    set_tests_properties(${QUILLBOX_ARCH}.script.${name} PROPERTIES TIMEOUT 300)
  endforeach()
endfunction()

# quillbox_bench(NAME SOURCES ... [LIBS ...]): a benchmark program bench_NAME, run on
# demand by tools/bench (never by ctest). It prints "NAME ratio VALUE (goal ...)" lines.
function(quillbox_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${B_NAME} ${B_SOURCES})
  target_link_libraries(bench_${B_NAME} PRIVATE quillbox_bench_support ${B_LIBS})
  target_link_options(bench_${B_NAME} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()

# The Windows side, built only by the mingw-w64 cross builds: Pelioran.ocx (the COM frame,
# the control object, registration, type library and resources), the stand-ins of the three
# outside components, the pelhost container and their tests under Wine. Programs and DLLs go
# to bin/ so that each finds the others beside itself.

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(PEL_MINGW_TRIPLE x86_64-w64-mingw32)
  set(PEL_WINE_LIB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
else()
  set(PEL_MINGW_TRIPLE i686-w64-mingw32)
  set(PEL_WINE_LIB_DIR /usr/lib/i386-linux-gnu/wine/i386-windows)
endif()
find_program(PEL_WIDL NAMES ${PEL_MINGW_TRIPLE}-widl widl REQUIRED)
set(PEL_WINE_IDL_DIR /usr/include/wine/wine/windows)
set(PEL_WIN_BIN ${CMAKE_BINARY_DIR}/bin)
set(PEL_GENERATED ${CMAKE_BINARY_DIR}/generated)
set(PEL_RES ${CMAKE_SOURCE_DIR}/src/res)

# An in-process COM server DLL in bin/. Its exports come from a .def file without stdcall
# decorations, which the x86 linker then resolves to the decorated functions.
function(pel_com_server target)
  set_target_properties(${target} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${PEL_WIN_BIN})
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
endfunction()

# The type library and its identities header. widl makes one kind of output per run (given
# -h or -u beside -t it would drop the .tlb in the current folder).
set(PEL_IDL ${PEL_RES}/Pelioran.idl)
set(PEL_WIDL_ARGS -I ${PEL_WINE_IDL_DIR} -L ${PEL_WINE_LIB_DIR})
add_custom_command(OUTPUT ${PEL_GENERATED}/Pelioran.tlb
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PEL_GENERATED}
  COMMAND ${PEL_WIDL} -t -o ${PEL_GENERATED}/Pelioran.tlb ${PEL_WIDL_ARGS} ${PEL_IDL}
  DEPENDS ${PEL_IDL} VERBATIM)
add_custom_command(OUTPUT ${PEL_GENERATED}/Pelioran_h.h
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PEL_GENERATED}
  COMMAND ${PEL_WIDL} -h -o ${PEL_GENERATED}/Pelioran_h.h ${PEL_WIDL_ARGS} ${PEL_IDL}
  DEPENDS ${PEL_IDL} VERBATIM)
add_custom_command(OUTPUT ${PEL_GENERATED}/Pelioran_i.c
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PEL_GENERATED}
  COMMAND ${PEL_WIDL} -u -o ${PEL_GENERATED}/Pelioran_i.c ${PEL_WIDL_ARGS} ${PEL_IDL}
  DEPENDS ${PEL_IDL} VERBATIM)
add_custom_target(pelioran_idl DEPENDS
  ${PEL_GENERATED}/Pelioran.tlb ${PEL_GENERATED}/Pelioran_h.h ${PEL_GENERATED}/Pelioran_i.c)

# The COM frame shared by the control, the stand-ins and pelhost.
file(GLOB PEL_COM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/com/*.cpp)
add_library(pelcomframe STATIC ${PEL_COM_SOURCES})
target_include_directories(pelcomframe PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(pelcomframe PUBLIC ole32 oleaut32 uuid user32 gdi32 advapi32)

# Variant texts and BMP files for the development tools and tests only (pelhost, stand-ins):
# the control never needs them.
add_library(peltoolcom STATIC ${CMAKE_SOURCE_DIR}/tools/comtext/VariantText.cpp
  ${CMAKE_SOURCE_DIR}/tools/comtext/BmpFile.cpp)
target_include_directories(peltoolcom PUBLIC ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(peltoolcom PUBLIC pelcomframe)

# Pelioran.ocx: the control's Windows shell over the core.
# Every subsystem's Windows shell folder (src/<subsystem>/win/).
file(GLOB_RECURSE PEL_CONTROL_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER PEL_CONTROL_WIN_SOURCES INCLUDE REGEX "/win/")
add_library(Pelioran SHARED
  ${PEL_CONTROL_WIN_SOURCES}
  ${PEL_GENERATED}/Pelioran_i.c
  ${PEL_RES}/Pelioran.rc
  ${PEL_RES}/Pelioran.def)
add_dependencies(Pelioran pelioran_idl)
pel_com_server(Pelioran)
set_target_properties(Pelioran PROPERTIES SUFFIX ".ocx")
target_include_directories(Pelioran PRIVATE ${PEL_GENERATED} ${PEL_RES})
file(GLOB PEL_SKIN_FILES CONFIGURE_DEPENDS ${PEL_RES}/skins/*.bmp)
set_source_files_properties(${PEL_RES}/Pelioran.rc PROPERTIES OBJECT_DEPENDS
  "${PEL_SKIN_FILES};${PEL_GENERATED}/Pelioran.tlb;${PEL_RES}/strings.inc;${PEL_RES}/PelioranRes.h;${PEL_RES}/Pelioran.ico;${PEL_RES}/Toolbox.bmp;${PEL_RES}/Skins.rc;${PEL_RES}/Dialogs.rc;${PEL_RES}/SkinIds.h;${PEL_RES}/DialogIds.h")
target_link_libraries(Pelioran PRIVATE pelcomframe pelcore comdlg32 comctl32 urlmon oleacc secur32 crypt32)

add_subdirectory(${CMAKE_SOURCE_DIR}/tests/hostkit ${CMAKE_BINARY_DIR}/tests/hostkit)
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/standins ${CMAKE_BINARY_DIR}/tools/standins)
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/pelhost ${CMAKE_BINARY_DIR}/tools/pelhost)
if(PEL_TESTS)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tests/wine ${CMAKE_BINARY_DIR}/tests/wine)
endif()

# Strangers: components and containers that are not built on our COM frame (each folder builds
# its own programs and adds its own Wine tests).
# add_subdirectory stops the configure step when a folder is missing.
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/strict ${CMAKE_BINARY_DIR}/tools/strict)
if(PEL_TESTS)
  foreach(pel_stranger_dir tests/atl tests/access tests/wsh tests/hostile tests/soak)
    add_subdirectory(${CMAKE_SOURCE_DIR}/${pel_stranger_dir} ${CMAKE_BINARY_DIR}/${pel_stranger_dir})
  endforeach()
endif()

# The signed installer packages and their Wine test (packaging/, tests/msi).
add_subdirectory(${CMAKE_SOURCE_DIR}/packaging ${CMAKE_BINARY_DIR}/packaging)

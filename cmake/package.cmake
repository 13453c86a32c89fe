# The release package of a Windows build: `cmake --build <dir> --target package` makes
# VeScene-<version>-win32.zip (i686) or VeScene-<version>-win64.zip (x86_64) in the build
# directory, from this build alone (cmake/make-package.cmake lists what it holds).
#
# VeScene.lib is the import library of the C API for Microsoft's linker (and lld-link, and
# mingw's ld), made from VeScene.def by llvm-dlltool: its members are short import records like
# those of Microsoft's lib.exe, which /safeseh accepts. (The GNU import library the mingw
# linker writes, libVeScene.dll.a, is made of objects that lld-link refuses without /safeseh:no.)
if(NOT WIN32)
  return()
endif()
if(NOT VESCENE_EXAMPLES)
  message(STATUS "No release package without the C host example (VESCENE_EXAMPLES=OFF)")
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(package_arch win32)
  set(dlltool_machine i386)
else()
  set(package_arch win64)
  set(dlltool_machine i386:x86-64)
endif()
set(VESCENE_PACKAGE_NAME VeScene-${PROJECT_VERSION}-${package_arch})

find_program(VESCENE_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-16 llvm-dlltool-15 llvm-dlltool-14
  DOC "llvm-dlltool, for the MSVC import library VeScene.lib")

set(def_file ${CMAKE_BINARY_DIR}/VeScene.def)
set(import_lib ${CMAKE_BINARY_DIR}/VeScene.lib)
set(public_header ${CMAKE_SOURCE_DIR}/include/vescene/vescene.h)
add_custom_command(OUTPUT ${def_file}
  COMMAND ${CMAKE_COMMAND} -DHEADER=${public_header} -DOUT=${def_file} -P ${CMAKE_SOURCE_DIR}/cmake/make-def.cmake
  DEPENDS ${public_header} ${CMAKE_SOURCE_DIR}/cmake/make-def.cmake
  COMMENT "Writing VeScene.def from vescene.h")
if(VESCENE_LLVM_DLLTOOL)
  add_custom_command(OUTPUT ${import_lib}
    COMMAND ${VESCENE_LLVM_DLLTOOL} -m ${dlltool_machine} -d ${def_file} -l ${import_lib}
    DEPENDS ${def_file}
    COMMENT "Making the import library VeScene.lib")
else()
  add_custom_command(OUTPUT ${import_lib}
    COMMAND ${CMAKE_COMMAND} -E echo "llvm-dlltool not found (Debian package llvm): cannot make VeScene.lib"
    COMMAND ${CMAKE_COMMAND} -E false
    DEPENDS ${def_file})
endif()

# What goes in, by the build's own paths; the script reads this file.
set(manifest ${CMAKE_BINARY_DIR}/package/manifest-$<CONFIG>.cmake)
file(GENERATE OUTPUT ${manifest} CONTENT "\
set(PACKAGE_NAME \"${VESCENE_PACKAGE_NAME}\")
set(PACKAGE_ARCH \"${package_arch}\")
set(PACKAGE_DIR \"${CMAKE_BINARY_DIR}\")
set(SOURCE_DIR \"${CMAKE_SOURCE_DIR}\")
set(DLL \"$<TARGET_FILE:VeScene>\")
set(HOST_EXE \"$<TARGET_FILE:vescene_host_c>\")
set(GUI_HOST_EXE \"$<TARGET_FILE:vescene_host_win32>\")
set(DEF_FILE \"${def_file}\")
set(IMPORT_LIB \"${import_lib}\")
set(VERSION_HEADER \"${VESCENE_GENERATED_INCLUDE_DIR}/vescene/version.h\")
set(DATA_TABLES \"${VESCENE_DATA_TABLES}\")
set(OBJDUMP \"${CMAKE_OBJDUMP}\")
set(STRIP \"${CMAKE_STRIP}\")
")

add_custom_target(package
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${manifest} -P ${CMAKE_SOURCE_DIR}/cmake/make-package.cmake
  DEPENDS ${def_file} ${import_lib} ${VESCENE_DATA_TABLES}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing ${VESCENE_PACKAGE_NAME}.zip"
  VERBATIM)
add_dependencies(package VeScene vescene_host_c vescene_host_win32 vescene_data)

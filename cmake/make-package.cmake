# Stages and zips the release package; run by the `package` target (cmake/package.cmake):
#   cmake -DMANIFEST=<build>/package/manifest-<config>.cmake -P cmake/make-package.cmake
#
# <name>.zip holds one folder <name>/ with
#   VeScene.dll            the library (version resource inside), stripped of its symbol table
#   VeScene.lib            import library of the C API for MSVC's link.exe, lld-link and mingw
#   VeScene.def            the C API's module definition (lib.exe /def makes the same library)
#   include/vescene/       vescene.h and the headers it includes (Export.h, version.h); for a
#                          mingw-w64 C++ host, CVeSceneFactory.h and WinAbi.h
#   docs/VeSceneHost.png   the reference host, as the README shows it
#   data/                  the data tables the library reads
#   VeScene.host.json      a sample host configuration file
#   VeSceneHost.exe        the reference host (tools/host-win32): run it, type or dictate
#   host-c.exe             the C host example (examples/host-c/host.c), built against this DLL
#   examples/host-c/host.c
#   examples/host-win32/VeSceneHost.cpp (.rc, .manifest)
#   README.md LICENSE CHANGELOG.md
include(${MANIFEST})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "package: ${ARGN} failed (${status}):\n${out}")
  endif()
endfunction()

# The import library must name nothing the DLL does not export.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "package: ${OBJDUMP} -p ${DLL} failed")
endif()
file(STRINGS ${DEF_FILE} def_lines REGEX "^    VeScene_")
foreach(line ${def_lines})
  string(STRIP "${line}" name)
  if(NOT dump MATCHES "\\] ${name}\n")
    message(FATAL_ERROR "package: VeScene.def names ${name}, which ${DLL} does not export")
  endif()
endforeach()

set(stage_root ${PACKAGE_DIR}/package)
set(stage ${stage_root}/${PACKAGE_NAME})
set(zip ${PACKAGE_DIR}/${PACKAGE_NAME}.zip)
# The package of an earlier version goes: one build directory, one package.
file(GLOB earlier ${PACKAGE_DIR}/VeScene-*-${PACKAGE_ARCH}.zip)
file(GLOB earlier_stages LIST_DIRECTORIES true ${stage_root}/VeScene-*-${PACKAGE_ARCH})
if(earlier_stages OR earlier)
  file(REMOVE_RECURSE ${earlier_stages} ${earlier})
endif()
file(MAKE_DIRECTORY ${stage}/include/vescene ${stage}/data ${stage}/docs ${stage}/examples/host-c ${stage}/examples/host-win32)

file(COPY ${DLL} ${IMPORT_LIB} ${DEF_FILE} DESTINATION ${stage})
configure_file(${HOST_EXE} ${stage}/host-c.exe COPYONLY)
run(${STRIP} --strip-unneeded ${stage}/VeScene.dll)
configure_file(${GUI_HOST_EXE} ${stage}/VeSceneHost.exe COPYONLY)
run(${STRIP} --strip-unneeded ${stage}/host-c.exe)
run(${STRIP} --strip-unneeded ${stage}/VeSceneHost.exe)
file(COPY ${SOURCE_DIR}/include/vescene/vescene.h ${SOURCE_DIR}/include/vescene/Export.h ${VERSION_HEADER}
  ${SOURCE_DIR}/include/vescene/CVeSceneFactory.h ${SOURCE_DIR}/include/vescene/WinAbi.h
  DESTINATION ${stage}/include/vescene)
file(COPY ${SOURCE_DIR}/docs/VeSceneHost.png DESTINATION ${stage}/docs)
file(COPY ${DATA_TABLES} DESTINATION ${stage}/data)
file(COPY ${SOURCE_DIR}/examples/VeScene.host.json DESTINATION ${stage})
file(COPY ${SOURCE_DIR}/examples/host-c/host.c DESTINATION ${stage}/examples/host-c)
file(COPY ${SOURCE_DIR}/tools/host-win32/VeSceneHost.cpp ${SOURCE_DIR}/tools/host-win32/VeSceneHost.rc
  ${SOURCE_DIR}/tools/host-win32/VeSceneHost.manifest DESTINATION ${stage}/examples/host-win32)
file(COPY ${SOURCE_DIR}/README.md ${SOURCE_DIR}/LICENSE ${SOURCE_DIR}/CHANGELOG.md DESTINATION ${stage})

# Every header vescene.h reaches must be in the package.
file(GLOB staged_headers RELATIVE ${stage}/include ${stage}/include/vescene/*.h)
foreach(header ${staged_headers})
  file(STRINGS ${stage}/include/${header} includes REGEX "^#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
    if(NOT EXISTS ${stage}/include/${included})
      message(FATAL_ERROR "package: ${header} includes ${included}, which is not in the package")
    endif()
  endforeach()
endforeach()

# One timestamp and the names in order: the same build gives the same zip.
file(GLOB_RECURSE files RELATIVE ${stage_root} ${stage}/*)
list(SORT files)
run(${CMAKE_COMMAND} -E chdir ${stage_root}
    ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip "--mtime=2026-01-01 00:00:00 UTC" ${files})
list(LENGTH files count)
message(STATUS "${zip}: ${count} files")

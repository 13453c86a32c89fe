# cmake --install [--prefix DIR]: the Linux install (GNUInstallDirs; /usr/local by default)
#
#   lib/libVeScene.so.1.1.0, libVeScene.so.1 (soname), libVeScene.so
#   include/vescene/*.h                      the public headers only
#   share/vescene/data/                      the data tables the library reads by default
#   share/vescene/nolt-rules.txt             nolt-server's default rules
#   bin/vescene, vescene-pack, nolt-server
#   lib/cmake/VeScene/                       find_package(VeScene CONFIG): VeScene::VeScene
#   lib/pkgconfig/vescene.pc                 pkg-config vescene
#
# Every path inside the install is relative to where it lies, so an installed tree works under
# any prefix (cmake --install --prefix DIR, DESTDIR) and can be moved.
include(CMakePackageConfigHelpers)

# The include roots whose vescene/ folder holds public headers: the sources', and the build
# tree's for generated headers (installed when it exists).
set(VESCENE_PUBLIC_INCLUDE_ROOTS ${PROJECT_SOURCE_DIR}/include ${PROJECT_BINARY_DIR}/include)

foreach(root ${VESCENE_PUBLIC_INCLUDE_ROOTS})
  target_include_directories(VeScene INTERFACE $<BUILD_INTERFACE:${root}>)
  install(DIRECTORY ${root}/vescene DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} OPTIONAL
    FILES_MATCHING PATTERN "*.h")
endforeach()
target_include_directories(VeScene INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(TARGETS VeScene EXPORT VeSceneTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

if(TARGET vescene_data)
  install(DIRECTORY ${VESCENE_DATA_DIR}/ DESTINATION ${VESCENE_INSTALL_DATADIR})
endif()
foreach(tool vescene vescene-pack nolt-server)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
if(TARGET nolt-server)
  install(FILES ${PROJECT_SOURCE_DIR}/data/nolt-rules.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/vescene)
endif()

# The CMake package: find_package(VeScene 1 CONFIG) gives VeScene::VeScene (and VeScene_DATA_DIR).
set(VESCENE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/VeScene)
install(EXPORT VeSceneTargets NAMESPACE VeScene:: DESTINATION ${VESCENE_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VeSceneConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VeSceneConfig.cmake INSTALL_DESTINATION ${VESCENE_CMAKE_DIR}
  PATH_VARS VESCENE_INSTALL_DATADIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VeSceneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VeSceneConfig.cmake ${PROJECT_BINARY_DIR}/VeSceneConfigVersion.cmake
  DESTINATION ${VESCENE_CMAKE_DIR})

# pkg-config: every path relative to the .pc file's own directory (${pcfiledir}).
function(vescene_pc_path var dir)
  file(RELATIVE_PATH relative ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${dir})
  string(REGEX REPLACE "/$" "" relative "${relative}")
  set(${var} "\${pcfiledir}/${relative}" PARENT_SCOPE)
endfunction()
vescene_pc_path(VESCENE_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
vescene_pc_path(VESCENE_PC_LIBDIR ${CMAKE_INSTALL_FULL_LIBDIR})
vescene_pc_path(VESCENE_PC_INCLUDEDIR ${CMAKE_INSTALL_FULL_INCLUDEDIR})
vescene_pc_path(VESCENE_PC_DATADIR ${VESCENE_INSTALL_FULL_DATADIR})
configure_file(${PROJECT_SOURCE_DIR}/cmake/vescene.pc.in ${PROJECT_BINARY_DIR}/vescene.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vescene.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

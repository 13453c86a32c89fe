# The data tables the library reads, made from the UTF-8 sources in data/ by vescene-pack, in
# ${VESCENE_DATA_DIR}. A native build runs the vescene-pack it builds (tools/, VESCENE_TOOLS) and
# makes the tables with every build. A cross build cannot run the tools it builds: it builds
# vescene-pack for the build machine (tools/vescene-pack/CMakeLists.txt, a project of its own,
# configured and built natively in host-tools/ of the build tree) and makes the tables on
# demand: target vescene_data, which the release package depends on. Either way the tables
# come from this tree's sources alone.
#
# Sets VESCENE_DATA_TABLES (the built files) when it defines the target vescene_data.
set(VESCENE_DATA_TABLES)
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(host_tools ${CMAKE_BINARY_DIR}/host-tools)
  set(pack ${host_tools}/vescene-pack)
  ExternalProject_Add(vescene_pack_host
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/vescene-pack
    PREFIX ${host_tools}/ep
    BINARY_DIR ${host_tools}
    # Nothing of the cross toolchain: the build machine's own compiler.
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE= -DCMAKE_BUILD_TYPE=Release
               -DVESCENE_GENERATED_INCLUDE_DIR=${VESCENE_GENERATED_INCLUDE_DIR}
    BUILD_ALWAYS ON  # the nested build decides what is out of date
    BUILD_BYPRODUCTS ${pack}
    INSTALL_COMMAND ""
    EXCLUDE_FROM_ALL ON)
  set(pack_depends vescene_pack_host ${pack})
  set(data_all)
elseif(VESCENE_TOOLS)
  set(pack vescene-pack)
  set(pack_depends vescene-pack)
  set(data_all ALL)
else()
  return()
endif()

set(data_src ${CMAKE_SOURCE_DIR}/data)
# Encrypted tables: source, built file, key.
foreach(entry
    "softdownload.csv|softdownload.grm|QuorbelFintax"
    "cityabbreviations.csv|chinareabbreviation.clx|PelgraVos4821"
    "veovie.txt|veovie.clx|DornikHalbFilm"
    "veusic.txt|veusic.clx|DornikHalbTune"
    "stations.csv|addressabbreviation12306.ve|BrastelQuimond5729"
    "hotelcities.csv|chinareaddress.clx|TrevalMossiDunke")
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 source)
  list(GET parts 1 target)
  list(GET parts 2 key)
  add_custom_command(OUTPUT ${VESCENE_DATA_DIR}/${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VESCENE_DATA_DIR}
    COMMAND ${pack} --key ${key} --in ${data_src}/${source} --out ${VESCENE_DATA_DIR}/${target}
    DEPENDS ${pack_depends} ${data_src}/${source}
    COMMENT "Packing ${target}")
  list(APPEND VESCENE_DATA_TABLES ${VESCENE_DATA_DIR}/${target})
endforeach()
# The office grammars and the word list stay plain text: GBK with CR LF line ends.
foreach(entry
    "officectrl.txt|officectrl.grm"
    "officectrloutppt.txt|officectrloutppt.grm"
    "notanalysiswords.txt|notanalysiswords.nolt")
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 source)
  list(GET parts 1 target)
  add_custom_command(OUTPUT ${VESCENE_DATA_DIR}/${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VESCENE_DATA_DIR}
    COMMAND ${pack} --gbk --in ${data_src}/${source} --out ${VESCENE_DATA_DIR}/${target}
    DEPENDS ${pack_depends} ${data_src}/${source}
    COMMENT "Converting ${target}")
  list(APPEND VESCENE_DATA_TABLES ${VESCENE_DATA_DIR}/${target})
endforeach()
# The understanding's templates and lists stay UTF-8 text, so users can read and extend them.
file(GLOB_RECURSE understanding_sources CONFIGURE_DEPENDS RELATIVE ${data_src} ${data_src}/understanding/*.txt
     ${data_src}/understanding/*.csv)
# The title tables are the song and film lists; the ticket site's stations are the station list.
foreach(entry ${understanding_sources} "veusic.txt|understanding/lists/songs.txt" "veovie.txt|understanding/lists/films.txt"
    "stations-12306.csv|understanding/lists/stations.csv")
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 source)
  list(GET parts -1 target)
  add_custom_command(OUTPUT ${VESCENE_DATA_DIR}/${target}
    COMMAND ${CMAKE_COMMAND} -E copy ${data_src}/${source} ${VESCENE_DATA_DIR}/${target}
    DEPENDS ${data_src}/${source}
    COMMENT "Copying ${target}")
  list(APPEND VESCENE_DATA_TABLES ${VESCENE_DATA_DIR}/${target})
endforeach()
add_custom_target(vescene_data ${data_all} DEPENDS ${VESCENE_DATA_TABLES})

# Writes VeScene.def, the module definition of the DLL's C API, from the declarations in
# vescene.h (every "VESCENE_API ... VESCENE_CALL VeScene_Name(" of the header), so the import
# library always lists exactly the C API.
#   cmake -DHEADER=include/vescene/vescene.h -DOUT=VeScene.def -P cmake/make-def.cmake
file(READ ${HEADER} header)
string(REGEX MATCHALL "VESCENE_API[^;{]*VESCENE_CALL[ \t\r\n]+VeScene_[A-Za-z0-9_]+[ \t]*\\(" declarations "${header}")
set(names)
foreach(declaration ${declarations})
  string(REGEX MATCH "VeScene_[A-Za-z0-9_]+" name "${declaration}")
  list(APPEND names ${name})
endforeach()
list(REMOVE_DUPLICATES names)
list(LENGTH names count)
if(count LESS 10)
  message(FATAL_ERROR "make-def: found only ${count} C API functions in ${HEADER}")
endif()
# Undecorated names: the DLL exports them so, and for i386 the import library's tools read them
# as __cdecl C names (symbol _VeScene_Create, imported by the name VeScene_Create).
set(def "; VeScene.dll: the C API (include/vescene/vescene.h), ${count} functions.\n")
string(APPEND def "; Generated from vescene.h by cmake/make-def.cmake. Import library:\n")
string(APPEND def ";   MSVC: lib /def:VeScene.def /machine:x86 /out:VeScene.lib   (x64: /machine:x64)\n")
string(APPEND def ";   LLVM: llvm-dlltool -m i386 -d VeScene.def -l VeScene.lib   (x64: -m i386:x86-64)\n")
string(APPEND def "LIBRARY \"VeScene.dll\"\nEXPORTS\n")
foreach(name ${names})
  string(APPEND def "    ${name}\n")
endforeach()
file(WRITE ${OUT} "${def}")

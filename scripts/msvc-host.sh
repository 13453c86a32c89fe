#!/usr/bin/env bash
# Builds examples/host-msvc for the MSVC ABI with clang-cl and lld-link (no Microsoft runtime or
# SDK: the host imports kernel32 and the C API only), links it against VeScene.lib of a release
# package, and runs it under Wine next to the package's VeScene.dll and data.
#   scripts/msvc-host.sh build-win32/VeScene-1.1.0-win32.zip WORKDIR    (win64.zip: x86_64)
# Exit status 0 when the host saw every call it expected; 77 with "skipped: <reason>" on stdout
# when this machine cannot run it (32-bit programs cannot run under Wine here, for win32); any other status is a failure.
set -euo pipefail
zip=$(realpath "$1")
work=$2
source_dir=$(realpath "$(dirname "$0")/..")

name=$(basename "$zip" .zip)
case $name in
  *-win32) triple=i686-pc-windows-msvc machine=x86 dlltool_machine=i386 ;;
  *-win64) triple=x86_64-pc-windows-msvc machine=x64 dlltool_machine=i386:x86-64 ;;
  *) echo "not a VeScene package: $zip"; exit 1 ;;
esac

wine=("$source_dir/scripts/wine64")
if [[ $machine == x86 ]]; then
  wine=(wine)
  if ! reason=$("$source_dir/scripts/wine32-check"); then
    echo "skipped: $reason"
    exit 77
  fi
fi

find_tool() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null && { echo "$tool"; return; }
  done
  echo "none of $* found (Debian packages clang, lld, llvm)" >&2
  exit 1
}
clang_cl=$(find_tool clang-cl clang-cl-{19..14})
lld_link=$(find_tool lld-link lld-link-{19..14})
dlltool=$(find_tool llvm-dlltool llvm-dlltool-{19..14})
objdump=$(find_tool llvm-objdump llvm-objdump-{19..14})

# The package as a host developer gets it.
rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
(cd "$work" && cmake -E tar xf "$zip")
package=$work/$name
[[ -f $package/VeScene.lib && -f $package/VeScene.dll ]] || { echo "$zip holds no VeScene.lib and VeScene.dll"; exit 1; }

# kernel32's import library, MSVC style, for the functions the host declares. On i386 the
# symbols carry the __stdcall decoration (_GetStdHandle@4) and the imported names do not (-k).
kernel32=(GetStdHandle@4 WriteFile@20 ExitProcess@4 GetModuleHandleW@4 GetModuleFileNameW@12
          LoadLibraryW@4 GetProcAddress@8 WideCharToMultiByte@32)
{
  echo "LIBRARY kernel32.dll"
  echo "EXPORTS"
  for f in "${kernel32[@]}"; do
    if [[ $machine == x86 ]]; then echo "    $f"; else echo "    ${f%@*}"; fi
  done
} >"$work/kernel32.def"
"$dlltool" -k -m "$dlltool_machine" -d "$work/kernel32.def" -l "$work/kernel32.lib"

# /Gz: __stdcall is the default, so only VESCENE_CALL makes the API's calls and callbacks right.
# A callback without it would not convert to the table's pointer type: warnings are errors.
# Relative paths: the MSVC drivers read an argument that starts with / as an option.
cd "$work"
cp "$source_dir/examples/host-msvc/host.c" host-msvc.c
"$clang_cl" --target="$triple" /nologo /c /O1 /GS- /Gz /W4 /WX -I "$name/include" /Fohost-msvc.obj -- host-msvc.c
safeseh=()
[[ $machine == x86 ]] && safeseh=(/safeseh)  # what lld-link does by default for x86, said aloud
"$lld_link" /nologo /machine:$machine /subsystem:console /nodefaultlib /entry:HostMain "${safeseh[@]}" \
  host-msvc.obj "$name/VeScene.lib" kernel32.lib /out:"$name/host-msvc.exe"

# It imports the C API from VeScene.dll by its undecorated names, and kernel32; nothing else.
imports=$("$objdump" -p "$package/host-msvc.exe")
dlls=$(grep -Eo 'DLL Name: .*' <<<"$imports" | sort | tr '\n' ' ')
if [[ $dlls != "DLL Name: VeScene.dll DLL Name: kernel32.dll " ]]; then
  echo "host-msvc.exe imports: $dlls"
  exit 1
fi
grep -q '^[[:space:]]*[0-9]*[[:space:]]*VeScene_ProcessM$' <<<"$imports" || { echo "host-msvc.exe does not import VeScene_ProcessM by that name"; exit 1; }

cd "$package"
timeout 120 "${wine[@]}" host-msvc.exe </dev/null

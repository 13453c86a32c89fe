#!/usr/bin/env bash
# Checks the Linux install of a build: installs it into a temporary prefix, checks what went
# where and which symbols the library exports, builds examples/consumer against the prefix with
# find_package(VeScene) and main.c with pkg-config, and runs them (they find the installed data
# tables with no data directory named).
# usage: scripts/check-install.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
fail() { echo "check-install: $*"; exit 1; }

echo "== cmake --install $build --prefix $prefix"
cmake --install "$build" --prefix "$prefix"

echo "== layout"
pc=$(find "$prefix" -name vescene.pc)
[[ -n "$pc" ]] || fail "no vescene.pc"
libdir=$(dirname "$(dirname "$pc")")
lib=$libdir/libVeScene.so
soname=$(readelf -d "$lib" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
[[ "$soname" =~ ^libVeScene\.so\.[0-9]+$ && -e "$libdir/$soname" ]] || fail "soname '$soname' not installed in $libdir"
[[ -f "$libdir/cmake/VeScene/VeSceneConfig.cmake" && -f "$libdir/cmake/VeScene/VeSceneConfigVersion.cmake" ]] ||
  fail "no CMake package in $libdir/cmake/VeScene"
for tool in vescene vescene-pack nolt-server; do [[ -x "$prefix/bin/$tool" ]] || fail "no bin/$tool"; done
[[ -f "$prefix/share/vescene/nolt-rules.txt" ]] || fail "no share/vescene/nolt-rules.txt"
[[ -f "$prefix/share/vescene/data/softdownload.grm" ]] || fail "no data tables in share/vescene/data"
# The public headers only: include/vescene/ and nothing else under include/.
others=$(find "$prefix/include" -type f ! -path "$prefix/include/vescene/*.h")
[[ -z "$others" ]] || fail "not public headers: $others"
[[ -f "$prefix/include/vescene/vescene.h" ]] || fail "no include/vescene/vescene.h"
echo "$soname; $(find "$prefix/include" -type f | wc -l) headers; $(ls "$prefix/share/vescene/data" | wc -l) data tables"

echo "== exports"
# Exported: the C API of vescene.h, and the members of what carries VESCENE_API (the factory and
# the host records, TyUtil::MapKeyStr2Int); nothing else.
exported=$(nm -D --defined-only "$lib" | awk '{print $3}' | c++filt)
api=$(grep -ohE '\bVeScene_[A-Za-z0-9_]+[[:space:]]*\(' "$prefix/include/vescene/vescene.h" | tr -d '( ' | sort -u)
for function in $api; do grep -qx "$function" <<<"$exported" || fail "C API function not exported: $function"; done
# Classes exported whole, and the factory, whose public members carry VESCENE_API one by one.
classes=$( (grep -rhoE 'class VESCENE_API [A-Za-z0-9_]+' include src | awk '{print $3}'; echo CVeSceneFactory) | sort -u | paste -sd'|')
functions=$(grep -rhE '^VESCENE_API [^(]*\b[A-Za-z0-9_]+\(' src | sed -E 's/^[^(]*\b([A-Za-z0-9_]+)\(.*/\1/' | sort -u | paste -sd'|')
others=$(grep -vE "^(VeScene_[A-Za-z0-9_]+$|($classes)::|([A-Za-z0-9_]+::)*($functions)\()" <<<"$exported" || true)
[[ -z "$others" ]] || fail "exported beyond the API: $(wc -l <<<"$others") symbols, e.g. $(head -3 <<<"$others")"
private=$(grep -E '^CVeSceneFactory::(ProcessM_nlp|ProcessM_tpp|KeepText|ReadPenResult|StartOnlineRequest|ThreadNoltControl|VeReadNotAnalysisWords)\(' <<<"$exported" || true)
[[ -z "$private" ]] || fail "the factory's own helpers exported: $private"
echo "$(wc -l <<<"$exported") dynamic symbols, all API"

echo "== find_package(VeScene 1 CONFIG) consumer"
cmake -S examples/consumer -B "$tmp/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
cmake --build "$tmp/consumer"
# Run where no data tables lie: the library must find the installed ones by itself.
(cd "$tmp" && "$tmp/consumer/consumer" && "$tmp/consumer/consumer_cxx")

echo "== pkg-config vescene"
export PKG_CONFIG_PATH=$libdir/pkgconfig
flags=$(pkg-config --cflags --libs vescene)
echo "pkg-config --cflags --libs vescene: $flags"
[[ "$(pkg-config --modversion vescene)" == "$(sed -n 's/^set(PACKAGE_VERSION "\(.*\)")/\1/p' "$libdir/cmake/VeScene/VeSceneConfigVersion.cmake")" ]] ||
  fail "pkg-config and CMake package disagree on the version"
# shellcheck disable=SC2086
cc -std=c11 -o "$tmp/consumer-pc" examples/consumer/main.c $flags -Wl,-rpath,"$(pkg-config --variable=libdir vescene)"
(cd "$tmp" && "$tmp/consumer-pc")
echo "check-install: ok"

#!/usr/bin/env bash
# Checks that a host can be written from the release package's vescene.h alone: takes the
# package's C host example (examples/host-c/host.c) and
#   - every VeHostCallbacks member it installs has its own comment in the package's vescene.h;
#   - every VESCENE_* name it uses is defined in the package's headers;
#   - it builds against the package's headers and import library (VeScene.lib, VESCENE_LINKED)
#     and runs beside the package's DLL and data, where it fails on any callback value the
#     header does not name.
# usage: scripts/check-host-doc.sh ZIP WINE-COMMAND...    (e.g. scripts/wine64)
set -euo pipefail
zip=$(realpath "$1")
shift
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "check-host-doc: $*"; exit 1; }

(cd "$tmp" && cmake -E tar xf "$zip")
pkg=$(echo "$tmp"/VeScene-*)
header=$pkg/include/vescene/vescene.h
host=$pkg/examples/host-c/host.c
[[ -f $header && -f $host && -f $pkg/VeScene.lib ]] || fail "the package lacks vescene.h, host.c or VeScene.lib"

members=$(grep -oE 'callbacks\.[a-z_]+ =' "$host" | sed -E 's/callbacks\.([a-z_]+) =/\1/' | grep -vxE 'size|user' | sort -u)
[[ -n $members ]] || fail "host.c installs no callback"
for member in $members; do
  # The declaration `(VESCENE_CALL *member)(`, and the last non-blank line before it closes a comment.
  awk -v m="$member" '
    $0 ~ "\\*" m "\\)\\(" { found = 1; exit !(previous ~ /\*\/[[:space:]]*$/) }
    NF { previous = $0 }
    END { if (!found) exit 2 }' "$header" || fail "callback member $member is not documented in vescene.h"
done
# The example's own build switches (defined(...), #define) are its own.
own=$(grep -oE '(defined\(|#define )VESCENE_[A-Z0-9_]+' "$host" | grep -oE 'VESCENE_[A-Z0-9_]+' | sort -u)
for name in $(grep -oE '\bVESCENE_[A-Z0-9_]+' "$host" | sort -u | grep -vxF "$own"); do
  grep -qE "(#[[:space:]]*define[[:space:]]+$name\b|\b$name[[:space:]]*=)" "$pkg"/include/vescene/*.h ||
    fail "$name is not defined in the package's headers"
done
echo "host.c: $(wc -w <<<"$members") callback members, each documented; every VESCENE_* name defined"

case $(objdump -f "$pkg/VeScene.dll" 2>/dev/null || x86_64-w64-mingw32-objdump -f "$pkg/VeScene.dll") in
  *pei-i386*) cc=i686-w64-mingw32-gcc ;;
  *pei-x86-64*) cc=x86_64-w64-mingw32-gcc ;;
  *) fail "VeScene.dll: not a PE DLL" ;;
esac
"$cc" -std=c11 -Wall -DVESCENE_LINKED -I"$pkg/include" "$host" "$pkg/VeScene.lib" -o "$pkg/host-linked.exe"
(cd "$pkg" && timeout 120 "$@" host-linked.exe data </dev/null) || fail "the example failed (an undocumented value, or a call that did not come)"
echo "check-host-doc: ok"

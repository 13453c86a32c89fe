#!/usr/bin/env bash
# Takes docs/VeSceneHost.png: the reference host (VeSceneHost.exe of an i686 build) under Wine on
# a virtual X display, with a Chinese desktop and font, after a few commands.
# usage: scripts/screenshot.sh [BUILD_DIR]      (default build-win64, built with the package)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh screenshot
dir=$(cd "${1:-build-win64}" && pwd)
run=$dir/screenshot
out=$PWD/docs/VeSceneHost.png

rm -rf "$run" && mkdir -p "$run" docs
cp "$dir"/VeScene.dll "$dir"/VeSceneHost.exe examples/VeScene.host.json "$run"/
cp -r "$dir"/data "$run"/
# Nothing here starts a program: the window must be the only one on the display.
printf '%s\n' '百度一下深度学习' '音量调高' 'answer	no' '关机' 'word	加粗' 'slideshow	下一页' >"$run/script.txt"

# A prefix of its own with the X11 driver (the tests' prefixes use the null driver, which draws
# nothing), in a Chinese locale, so Wine picks a Chinese system font (WenQuanYi by fontconfig).
export WINEPREFIX=$dir/wineprefix-x11 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=:57 LANG=zh_CN.UTF-8
# Debian's wine script takes the 32-bit loader whenever it is installed; a 64-bit build is
# started with the 64-bit one, which also runs where 32-bit programs cannot.
wine=wine
if [[ $dir == *win32* ]]; then export WINEARCH=win32
elif [[ -x /usr/lib/wine/wine64 ]]; then wine=/usr/lib/wine/wine64
fi
Xvfb "$DISPLAY" -screen 0 800x560x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT

(cd "$run" && "$wine" VeSceneHost.exe --dry-run --script script.txt --log screenshot.log --show 30 >/dev/null 2>&1) &
# The first start of a new prefix takes a while; the script runs once the window is up.
for _ in $(seq 120); do
  grep -q '下一页' "$run/screenshot.log" 2>/dev/null && break
  sleep 1
done
sleep 2  # the last repaint
xwd -root -silent | xwdtopnm 2>/dev/null | pnmcrop -black 2>/dev/null | pnmtopng >"$out"  # the window alone
echo "$out"

#!/usr/bin/env bash
# Installs what the builds need from Debian's packages, when it is missing.
# usage: scripts/deps.sh [run|test|screenshot]
#
# "screenshot" installs what scripts/screenshot.sh needs: a virtual X server, xwd, netpbm and a
# Chinese font for Wine's windows.
#
# "test" also installs 32-bit Wine (wine32:i386, after adding the i386 architecture). That part
# may fail on a machine without i386 packages: it then leaves the machine as it found it, writes
# the reason to build-logs/deps-i386.log and returns success; scripts/test.sh skips its i686
# Wine stage and says so.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

packages=(cmake ninja-build g++ pkg-config rapidjson-dev libcurl4-openssl-dev libcpp-httplib-dev)
if [[ "${1:-run}" == test ]]; then
  packages+=(libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
             g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 wine wine64
             clang lld llvm  # clang-cl, lld-link, llvm-dlltool: VeScene.lib and the MSVC-ABI host
             libclang-rt-14-dev)  # libFuzzer and the sanitizer runtimes of the fuzz build
elif [[ "${1:-run}" == screenshot ]]; then
  packages+=(wine xvfb x11-apps netpbm fonts-wqy-zenhei)
fi

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}" >&2
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

[[ "${1:-run}" == test ]] || exit 0

# 32-bit Wine, for the i686 tests. Failing here never fails the run.
installed wine32:i386 && exit 0
log="$root/build-logs/deps-i386.log"
mkdir -p "$(dirname "$log")"
echo "Installing: wine32:i386" >&2
added=0
{
  set +e
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 && added=1
  fi
  $SUDO apt-get update -qq && \
    $SUDO apt-get install -y -qq --no-install-recommends wine32:i386
} >"$log" 2>&1
if ! installed wine32:i386; then
  # Leave no foreign architecture behind that nothing uses (it would slow every apt-get update).
  if ((added)) && [[ -z $(dpkg-query -W -f='${binary:Package}\n' '*:i386' 2>/dev/null) ]]; then
    $SUDO dpkg --remove-architecture i386 >>"$log" 2>&1 || true
  fi
  reason=$(grep -E '^(E|W): ' "$log" | head -1)
  echo "wine32:i386 could not be installed: ${reason:-see $log}" >>"$log"
  echo "warning: 32-bit Wine (wine32:i386) not installed, the i686 Wine tests will be skipped: ${reason:-see $log}" >&2
fi
exit 0

#!/usr/bin/env bash
# Installs what the builds need from Debian's packages, when it is missing.
# usage: scripts/deps.sh [run|test]
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config rapidjson-dev libcurl4-openssl-dev libcpp-httplib-dev)
if [[ "${1:-run}" == test ]]; then
  packages+=(libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
             g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 wine wine64
             clang lld llvm)  # clang-cl, lld-link, llvm-dlltool: VeScene.lib and the MSVC-ABI host
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}" >&2
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

#!/usr/bin/env bash
# Builds every target and runs every test: Linux, Linux with ASan+UBSan, the threaded tests
# with ThreadSanitizer, every fuzz target for a few seconds, the i686 DLL with its export check and its release package, the i686
# and x86_64 Windows tests under Wine, the C host example against the Linux library and, under
# Wine, against the i686 and x86_64 VeScene.dll, the package's C host built from its vescene.h and
# VeScene.lib (every callback value documented), the reference host without a display (--help, a
# script, a dry run that reaches nothing), and an MSVC-ABI host linked against the packages'
# VeScene.lib.
# Ends with "N passed, N failed" (and ", N skipped: ..." when a stage could not run here).
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test || exit 1

passed=0
failed=0
skipped=()  # stages this machine cannot run, each with its reason
log_dir=build-logs
mkdir -p "$log_dir"

# Adds the counts of a GoogleTest run's output to the totals; a run that ended without its
# summary (a crash) counts as one failure.
count_gtest() {
  local name=$1 out=$2 status=$3
  local total ok bad
  total=$(grep -Eo '^\[==========\] [0-9]+ tests? from .* ran' "$out" | grep -Eo '[0-9]+' | head -1)
  ok=$(grep -Eo '^\[  PASSED  \] [0-9]+' "$out" | grep -Eo '[0-9]+$' | head -1)
  bad=$(grep -Eo '^\[  FAILED  \] [0-9]+ tests?, listed below' "$out" | grep -Eo '[0-9]+' | head -1)
  if [[ -z "$total" ]]; then
    echo "$name: no test summary (exit $status), see $out"
    failed=$((failed + 1))
    return
  fi
  passed=$((passed + ${ok:-0}))
  failed=$((failed + ${bad:-0}))
  if [[ $status -ne 0 && -z "$bad" ]]; then failed=$((failed + 1)); fi
  echo "$name: ${ok:-0} passed, ${bad:-0} failed"
}

stage_failed() {
  echo "$1: FAILED, see $2"
  tail -20 "$2"
  failed=$((failed + 1))
}

# Runs the C host example (examples/host-c): it installs callbacks, runs utterances through the
# C API and exits non-zero when a call it expected did not come.
host_example() {  # host_example NAME LOG command...
  local name=$1 log=$2
  shift 2
  if timeout 120 "$@" >"$log" 2>&1 </dev/null; then
    passed=$((passed + 1))
    echo "$name: ok"
  else
    stage_failed "$name" "$log"
  fi
}

# Runs the reference host (VeSceneHost.exe) in a folder laid out as the release package, with the
# tables of tests/host-win32/VeScene.host.json, in a Wine prefix of its own that has no graphics
# driver set and no display, as a build server or a service has it:
#   --help prints the usage on stdout and exits 0; --script without --log is a usage error (2);
#   --script tests/host-win32/script.txt --log runs with no window: its log holds every line of
#     tests/host-win32/expected.txt and the table's command ran (the folder it makes);
#   --dry-run --answer yes on tests/host-win32/dry-run.txt under WINEDEBUG=+relay (only the calls
#     that act, and CreateFileW to tell the host's process apart): the host's process calls none of
#     ExitWindowsEx, LockWorkStation, CreateProcessW, ShellExecuteW/ExW, WinExec, and its log holds
#     every line of tests/host-win32/dry-run-expected.txt.
gui_host() {  # gui_host NAME BUILD_DIR WINE env [VAR=VALUE...] (Wine's loader and environment)
  local name=$1 dir=$2 wine=$3 run=$2/host-win32-test
  shift 3
  local log="$PWD/$log_dir/$(basename "$dir")-host-win32.log" missing=0 status
  # No display and a prefix of its own, where no graphics driver was ever set.
  local -a env=(env -u DISPLAY -u WAYLAND_DISPLAY "$@" WINEPREFIX="$PWD/$dir/wineprefix-nodisplay")
  rm -rf "$run" && mkdir -p "$run" &&
    cp "$dir"/VeScene.dll "$dir"/VeSceneHost.exe tests/host-win32/VeScene.host.json "$run"/ &&
    cp -r "$dir"/data "$run"/ >"$log" 2>&1 || { stage_failed "$name" "$log"; return; }
  local host=(timeout 300 "${env[@]}" "$wine" VeSceneHost.exe)
  (cd "$run" && "${host[@]}" --help >help.txt 2>>"$log" </dev/null); status=$?
  grep -q '^usage: VeSceneHost.exe' "$run/help.txt" && ((status == 0)) ||
    { echo "--help: exit $status, usage not on stdout" >>"$log"; missing=1; }
  (cd "$run" && "${host[@]}" --script ../../tests/host-win32/script.txt >/dev/null 2>>"$log" </dev/null); status=$?
  ((status == 2)) || { echo "--script without --log: exit $status, not 2" >>"$log"; missing=1; }
  (cd "$run" && "${host[@]}" --script ../../tests/host-win32/script.txt --log host.log </dev/null >>"$log" 2>&1) ||
    { echo "--script: exit $?" >>"$log"; missing=1; }
  timeout 60 "${env[@]}" wineserver -w 2>/dev/null  # until the program the table started has ended
  while IFS= read -r want; do
    grep -qF -- "$want" "$run/host.log" 2>/dev/null || { echo "missing in host.log: $want" >>"$log"; missing=1; }
  done <tests/host-win32/expected.txt
  [[ -d "$run/started" ]] || { echo "the table's command did not run" >>"$log"; missing=1; }

  rm -rf "$run/started"
  local acting='ExitWindowsEx|LockWorkStation|CreateProcessW|ShellExecuteW|ShellExecuteExW|WinExec'
  "${env[@]}" "$wine" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /f /d \
    'kernel32.CreateFileW;kernelbase.CreateFileW;user32.ExitWindowsEx;user32.LockWorkStation;kernel32.CreateProcessW;kernelbase.CreateProcessW;shell32.ShellExecuteW;shell32.ShellExecuteExW;kernel32.WinExec' \
    >/dev/null 2>&1 </dev/null
  (cd "$run" && timeout 300 "${env[@]}" WINEDEBUG=+pid,+relay "$wine" VeSceneHost.exe --dry-run --answer yes \
     --script ../../tests/host-win32/dry-run.txt \
     --log dry-run.log </dev/null >/dev/null 2>relay.txt) || { echo "--dry-run: exit $?" >>"$log"; missing=1; }
  timeout 60 "${env[@]}" wineserver -w 2>/dev/null
  "${env[@]}" "$wine" reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f >/dev/null 2>&1 </dev/null
  # The host's process: the one that opened its log.
  local pid
  pid=$(grep -m1 -iE 'Call [a-z0-9]+\.CreateFileW\(.*dry-run\.log' "$run/relay.txt" | cut -d: -f1)
  if [[ -z $pid ]]; then
    echo "no relay trace of the host (WINEDEBUG=+pid,+relay)" >>"$log"; missing=1
  elif grep -iE "^$pid:[0-9a-f]+:Call [a-z0-9_]+\.($acting)\(" "$run/relay.txt" >>"$log"; then
    echo "the dry run reached the desktop (calls above)" >>"$log"; missing=1
  fi
  while IFS= read -r want; do
    grep -qF -- "$want" "$run/dry-run.log" 2>/dev/null || { echo "missing in dry-run.log: $want" >>"$log"; missing=1; }
  done <tests/host-win32/dry-run-expected.txt
  [[ ! -d "$run/started" ]] || { echo "the dry run ran the table's command" >>"$log"; missing=1; }
  if ((missing)); then
    cat "$run/host.log" "$run/dry-run.log" >>"$log" 2>/dev/null
    stage_failed "$name" "$log"
  else
    passed=$((passed + 1))
    echo "$name: ok"
  fi
}

# Makes a Windows build's release package (cmake/package.cmake) and lists it in the log.
package() {  # package NAME DIR LOG
  local name=$1 dir=$2 log=$3
  if cmake --build "$dir" --target package >"$log" 2>&1 && cmake -E tar tf "$dir"/VeScene-*.zip >>"$log" 2>&1; then
    passed=$((passed + 1))
    echo "$name: ok ($(basename "$dir"/VeScene-*.zip))"
  else
    stage_failed "$name" "$log"
  fi
}

# Builds the MSVC-ABI host (examples/host-msvc) with clang-cl and lld-link against a release
# package's VeScene.lib and runs it under Wine beside the package's DLL and data.
msvc_host() {  # msvc_host NAME ZIP LOG
  local name=$1 zip=$2 log=$3 status
  if [[ ! -f $zip ]]; then
    echo "no release package to link against (see the package stage)" >"$log"
    stage_failed "$name" "$log"
    return
  fi
  WINEPREFIX=${WINEPREFIX:-$PWD/build-win32/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    timeout 300 scripts/msvc-host.sh "$zip" "$(dirname "$zip")/msvc-host" >"$log" 2>&1 </dev/null
  status=$?
  if [[ $status -eq 0 ]]; then
    passed=$((passed + 1))
    echo "$name: ok"
  elif [[ $status -eq 77 ]]; then
    local reason
    reason=$(grep -m1 '^skipped: ' "$log" | sed 's/^skipped: //')
    skipped+=("$name ($reason)")
    echo "$name: skipped: $reason"
  else
    stage_failed "$name" "$log"
  fi
}

build() {  # build DIR LOG cmake-args...
  local dir=$1 log=$2
  shift 2
  { cmake -S . -B "$dir" -G Ninja "$@" && cmake --build "$dir"; } >"$log" 2>&1
}

# 1. Linux build, tools, data and tests.
if build build "$log_dir/linux.log" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESCENE_SYSTEM_GTEST=ON -DVESCENE_BENCH=ON; then
  build/tests/vescene_tests >"$log_dir/linux-tests.log" 2>&1
  count_gtest "linux" "$log_dir/linux-tests.log" $?
  host_example "linux C host" "$log_dir/host-c.log" build/examples/host-c/host
else
  stage_failed "linux build" "$log_dir/linux.log"
fi

# 1a. The offline understanding against the engine's results of the dev set: the text alone must
#     do on the desktop what the engine's result does in at least 64 of its 67 cases, and leave
#     every negative alone.
dev_set=${VESCENE_UNDERSTANDING_DEV:-../shared/understanding/dev.jsonl}
if [[ ! -f $dev_set ]]; then
  skipped+=("understanding eval (no dev set at $dev_set)")
  echo "understanding eval: skipped: no dev set at $dev_set"
else
  build/tools/vescene --data build/data understand --eval "$dev_set" >"$log_dir/understanding-eval.log" 2>&1
  status=$?
  score=$(grep -Eo '^[0-9]+ of [0-9]+ match' "$log_dir/understanding-eval.log" | tail -1)
  if [[ $status -eq 0 && -n "$score" && ${score%% *} -ge 64 ]]; then
    passed=$((passed + 1))
    echo "understanding eval: $score"
  else
    stage_failed "understanding eval (${score:-no score}, at least 64 and no negative understood)" "$log_dir/understanding-eval.log"
  fi
fi

# 1b. The Linux install: cmake --install of that build into a temporary prefix; a consumer project
#     built against it with find_package(VeScene) and with pkg-config, run with the installed data.
if cmake --build build >"$log_dir/install.log" 2>&1 && scripts/check-install.sh build >>"$log_dir/install.log" 2>&1; then
  passed=$((passed + 1))
  echo "linux install (find_package, pkg-config): ok"
else
  stage_failed "linux install" "$log_dir/install.log"
fi

# 2. The same tests with AddressSanitizer and UndefinedBehaviorSanitizer.
if build build-asan "$log_dir/asan.log" -DCMAKE_BUILD_TYPE=Debug -DVESCENE_SYSTEM_GTEST=ON -DVESCENE_TOOLS=OFF -DVESCENE_SANITIZE=ON; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build-asan/tests/vescene_tests >"$log_dir/asan-tests.log" 2>&1
  count_gtest "asan+ubsan" "$log_dir/asan-tests.log" $?
else
  stage_failed "asan build" "$log_dir/asan.log"
fi

# 2b. The tests that run a second thread (the online request, HTTP, the sim), with ThreadSanitizer.
if build build-tsan "$log_dir/tsan.log" -DCMAKE_BUILD_TYPE=Debug -DVESCENE_SYSTEM_GTEST=ON -DVESCENE_TOOLS=OFF -DVESCENE_TSAN=ON; then
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    build-tsan/tests/vescene_tests --gtest_filter='OnlineThread*:SharedTables*:VeCurl*:Sim*:CApi*' >"$log_dir/tsan-tests.log" 2>&1
  count_gtest "tsan" "$log_dir/tsan-tests.log" $?
else
  stage_failed "tsan build" "$log_dir/tsan.log"
fi

# 2c. Every fuzz target for a few seconds on its seeds (scripts/fuzz.sh): an input that crashes at
#     once is caught here; the long runs are scripts/fuzz.sh with more seconds.
if scripts/fuzz.sh 3 >"$log_dir/fuzz.log" 2>&1; then
  passed=$((passed + 1))
  echo "fuzz smoke ($(grep -c ': ok$' "$log_dir/fuzz.log") targets, 3 s each): ok"
else
  stage_failed "fuzz smoke" "$log_dir/fuzz.log"
fi

# 3. The product: the 32-bit DLL, checked to be a PE32 DLL exporting the factory, the C API and
#    the host records' members, and its release package (VeScene-<version>-win32.zip). The same
#    build has the i686 tests and the C host example.
if build build-win32 "$log_dir/win32.log" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DVESCENE_TESTS=ON -DVESCENE_TOOLS=OFF; then
  if scripts/check-exports.sh build-win32/VeScene.dll >"$log_dir/exports.log" 2>&1; then
    passed=$((passed + 1))
    echo "i686 VeScene.dll exports: ok"
  else
    stage_failed "i686 VeScene.dll exports" "$log_dir/exports.log"
  fi
  package "i686 release package" build-win32 "$log_dir/package-win32.log"

  # 3b. The i686 tests and the C host example against the i686 DLL, under 32-bit Wine (in a
  #     32-bit prefix of their own), when scripts/deps.sh could install it.
  if wine32_missing=$(scripts/wine32-check); then
    wine32=(env WINEPREFIX="$PWD/build-win32/wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=")
    # The null graphics driver and a server restart, as for x86_64 below.
    "${wine32[@]}" wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
    "${wine32[@]}" wineserver -k >/dev/null 2>&1 || true
    timeout 600 "${wine32[@]}" wine build-win32/tests/vescene_tests.exe >"$log_dir/wine32-tests.log" 2>&1 </dev/null
    count_gtest "wine i686" "$log_dir/wine32-tests.log" $?
    host_example "wine i686 C host (VeScene.dll)" "$log_dir/wine32-host-c.log" "${wine32[@]}" wine build-win32/host.exe
    gui_host "wine i686 VeSceneHost.exe --script" build-win32 wine "${wine32[@]}"
    if "${wine32[@]}" scripts/check-host-doc.sh build-win32/VeScene-*-win32.zip wine >"$log_dir/host-doc-win32.log" 2>&1; then
      passed=$((passed + 1))
      echo "i686 package: a host from vescene.h alone: ok"
    else
      stage_failed "i686 package: a host from vescene.h alone" "$log_dir/host-doc-win32.log"
    fi
  else
    echo "i686 under Wine: skipped: $wine32_missing"
    skipped+=("i686 under Wine: $wine32_missing")
  fi
else
  stage_failed "i686 build" "$log_dir/win32.log"
fi

# 4. The tests built for x86_64 Windows, run under Wine.
if build build-win64 "$log_dir/win64.log" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DVESCENE_TOOLS=OFF; then
  export WINEPREFIX="$PWD/build-win64/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Without a display Wine makes windows only with its null graphics driver (the window tests).
  scripts/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
  # A new prefix's desktop started with the default driver; restart the server so the next
  # process gets a desktop with the null driver (else no window ever reaches the foreground).
  wineserver -k >/dev/null 2>&1 || true
  scripts/wine64 build-win64/tests/vescene_tests.exe >"$log_dir/wine-tests.log" 2>&1 </dev/null
  count_gtest "wine" "$log_dir/wine-tests.log" $?
  host_example "wine C host (VeScene.dll)" "$log_dir/wine-host-c.log" scripts/wine64 build-win64/host.exe
  package "x86_64 release package" build-win64 "$log_dir/package-win64.log"
  # The package's C host example built against the package's vescene.h and VeScene.lib: every
  # callback it installs documented in the header, every value it receives named there.
  if scripts/check-host-doc.sh build-win64/VeScene-*-win64.zip "$PWD/scripts/wine64" >"$log_dir/host-doc-win64.log" 2>&1; then
    passed=$((passed + 1))
    echo "x86_64 package: a host from vescene.h alone: ok"
  else
    stage_failed "x86_64 package: a host from vescene.h alone" "$log_dir/host-doc-win64.log"
  fi
  gui_host "wine VeSceneHost.exe --script" build-win64 "$PWD/scripts/wine64" env
else
  stage_failed "win64 build" "$log_dir/win64.log"
fi

# 5. A host built for the MSVC ABI (clang-cl, lld-link, no Microsoft runtime) links the release
#    package's VeScene.lib and runs under Wine beside the package's DLL and data: the product
#    (i686, under 32-bit Wine) and the x86_64 package.
msvc_host "MSVC-ABI host" "$(ls build-win32/VeScene-*-win32.zip 2>/dev/null | head -1)" "$log_dir/msvc-host.log"
msvc_host "MSVC-ABI host (x86_64)" "$(ls build-win64/VeScene-*-win64.zip 2>/dev/null | head -1)" "$log_dir/msvc-host-win64.log"

summary="$passed passed, $failed failed"
if ((${#skipped[@]})); then
  summary+=", ${#skipped[@]} skipped: $(IFS=';'; echo "${skipped[*]}" | sed 's/;/; /g')"
fi
echo "$summary"
[[ $failed -eq 0 ]]

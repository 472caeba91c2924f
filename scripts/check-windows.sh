#!/usr/bin/env bash
# Cross-builds the logic and the real Windows provider with mingw-w64 and runs their tests under
# Wine, in a fresh Wine prefix inside the build folder. Needs no display and no terminal.
# Usage: scripts/check-windows.sh [build folder, default build-win]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/${1:-build-win}

packages=(wine wine64 g++-mingw-w64-x86-64-posix)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "check-windows: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"; }; then
    echo "check-windows: cannot install ${missing[*]} with apt-get (not root, or no package" \
         "source reachable); the Windows build and its tests need them" >&2
    exit 1
  fi
fi

# Wine without a display, quiet, without the .NET and HTML engine installers and the debugger.
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX=$build/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
trap 'wineserver -k 2>/dev/null || true' EXIT

mkdir -p "$build"
# A server left running by an earlier, interrupted run must not outlive its prefix.
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
started=$SECONDS
# The system processes inherit the first call's output: a file, never a pipe that would stay open.
wineboot -i >"$build/wineboot.log" 2>&1
wineserver -w
wineserver -p
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$build/wineboot.log" 2>&1
echo "check-windows: Wine prefix ready in $((SECONDS - started)) s"

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >"$build/configure.log" ||
  { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)"
# The catalogue refresh through the provider against the raw calls: figures, not a test.
wine "$build/win32_catalogue_bench.exe"
# Serially: the tests share one service control manager.
(cd "$build" && ctest --output-on-failure)
# The skipped tests with what Wine lacks for them.
awk '/^\[ RUN      \]/ { test = $4 } /^Wine: / { print "  skipped " test ": " $0 }' \
    "$build/Testing/Temporary/LastTest.log"

#!/usr/bin/env bash
# Configures and builds the three builds: native (behaviour and unit tests),
# x86_64 (run here under Wine) and i686 (the 32-bit release). Arguments are
# cache settings for all three, e.g. -DDOWNLOAD_BASE=http://127.0.0.1:9000.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

# Configured every time (cheap when nothing changed), so that a setting given
# to this call is honoured even in a folder configured before.
configure() {  # folder, build type, extra arguments
  local dir="$build/$1" type="$2"; shift 2
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
}
configure native Debug "$@"
configure x86_64 Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" "$@"
configure i686 Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake" "$@"
for b in native x86_64 i686; do
  echo "build: $b"
  if ! cmake --build "$build/$b" -j"$(nproc)" >"$build/$b/build.log" 2>&1; then
    cat "$build/$b/build.log" >&2
    echo "build $b failed" >&2
    exit 1
  fi
  grep -E "warning:" "$build/$b/build.log" || true
done

#!/usr/bin/env bash
# Sets up, builds and runs every test: native unit tests under the sanitizers,
# Windows-side tests and end-to-end runs under Wine, release checks of both
# Windows builds.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

bash "$root/scripts/setup.sh" || exit 1
bash "$root/scripts/build.sh" || exit 1

source "$root/scripts/wine-env.sh"
cleanup() { wine_prefix_down; xvfb_down; }
trap cleanup EXIT
xvfb_up || exit 1
wine_prefix_up "$build/wineprefix"

passed=0 failed=0 status=0
for b in native x86_64 i686; do
  echo "== tests: $b"
  ctest --test-dir "$build/$b" --output-on-failure 2>&1 | tee "$build/$b/ctest.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  summary=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$build/$b/ctest.log" | tail -n 1)
  if [[ $summary =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[1]))
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  else
    status=1
  fi
done
echo "$passed passed, $failed failed"
exit $status

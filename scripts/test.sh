#!/usr/bin/env bash
# Sets up, builds and runs every test: native unit tests under the sanitizers,
# Windows-side tests and end-to-end runs under Wine, the 32-bit release checked
# and run. Prints the time each step took at the end.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

times=()
timed() {  # label, command...
  local label=$1 start=$SECONDS; shift
  "$@"; local rc=$?
  times+=("$(printf '%-34s %5d s' "$label" $((SECONDS - start)))")
  return $rc
}

timed "setup" bash "$root/scripts/setup.sh" || exit 1
timed "build (native, x86_64, i686)" bash "$root/scripts/build.sh" || exit 1

source "$root/scripts/wine-env.sh"
cleanup() { wine_prefix_down; xvfb_down; }
trap cleanup EXIT
xvfb_up || exit 1
wine_prefix_up "$build/wineprefix"

# One level a line: its name, its build folder and what of that build's tests it runs.
levels=(
  "native unit tests|native|"
  "Windows layer under Wine (x86_64)|x86_64|-LE e2e"
  "end to end under Wine (x86_64)|x86_64|-L e2e"
  "32-bit release (i686)|i686|"
)

passed=0 failed=0 status=0
run_level() {  # name, build, ctest selection
  local log="$build/$2/ctest-${1//[^a-zA-Z0-9]/_}.log"
  # shellcheck disable=SC2086
  ctest --test-dir "$build/$2" --output-on-failure $3 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  local summary
  summary=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$log" | tail -n 1)
  if [[ $summary =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[1]))
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  else
    status=1
  fi
}
for level in "${levels[@]}"; do
  IFS='|' read -r name dir selection <<<"$level"
  echo "== tests: $name"
  timed "$name" run_level "$name" "$dir" "$selection"
done

echo "== time taken"
printf '%s\n' "${times[@]}"
# The catalogue of hostile cases keeps its own count.
head -n 1 "$build/x86_64/e2e-artifacts/test_hostile_cases/hostile-cases.txt" 2>/dev/null
echo "$passed passed, $failed failed"
exit $status

# Sourced by the run and test commands: the environment every Wine run uses.
# 64-bit Wine only (32-bit code cannot run on these machines); the French user
# locale so that accented file names work and numbers use a decimal comma.
export WINELOADER=/usr/lib/wine/wine64
export WINEDEBUG=-all
# winemenubuilder would add a desktop entry for every shortcut the launcher writes.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8

# Prepares the prefix once and starts its server, so that helper processes
# do not hold our output pipes open.
wine_prefix_up() {
  export WINEPREFIX="$1"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINELOADER" wineboot -i >/dev/null 2>&1
  fi
  /usr/lib/wine/wineserver -p
  "$WINELOADER" cmd /c exit >/dev/null 2>&1 || true
}

wine_prefix_down() {
  [ -n "${WINEPREFIX:-}" ] && /usr/lib/wine/wineserver -k 2>/dev/null || true
}

# Starts Xvfb on the first free display and exports DISPLAY.
xvfb_up() {
  local n
  for n in $(seq 70 89); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  done
  echo "no display could be started" >&2
  return 1
}

xvfb_down() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}

#!/usr/bin/env bash
# Sets up, builds and runs the launcher on the demo drive, with the demo
# download server on loopback (the address the launcher is built with).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
demo="$build/demo"

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"

standin="$build/x86_64/demo/standin/standin.exe"
drive="$demo/Clé USB/Cantarel Portable"
mkdir -p "$demo"
if [ ! -d "$drive" ]; then
  /usr/bin/python3 "$root/demo/make_demo_drive.py" "$drive" --standin "$standin"
fi
/usr/bin/python3 "$root/demo/make_server_tree.py" "$demo/server" --standin "$standin" --force >/dev/null

port=$(sed -n 's#^DOWNLOAD_BASE:STRING=http://127.0.0.1:\([0-9]*\).*#\1#p' "$build/x86_64/CMakeCache.txt")
/usr/bin/python3 "$root/demo/serve.py" "$demo/server" --port "${port:-8642}" --log "$demo/server.log" \
  --max-seconds 86400 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
echo "Serveur de téléchargement : http://127.0.0.1:${port:-8642}/ (journal : $demo/server.log)"

source "$root/scripts/wine-env.sh"
/usr/bin/python3 "$root/tools/harness/run_demo.py" "$build/x86_64/src/app/CantarelLauncher.exe" "$drive" \
  --probe "$build/x86_64/tools/probe/uiprobe.exe" --prefix "$build/wineprefix-demo" \
  --extra "$build/unzip32/x86_64/unzip32.dll" \
  --screenshot "$demo/fenetre.png"

#!/usr/bin/env bash
# What the end-to-end tests of the 32-bit release need on Debian 12: Wine's
# 32-bit loader (wine32:i386) in the 64-bit prefix, run under qemu-user 10 (from
# bookworm-backports; bookworm's own 7.2 is far too slow), since a kernel built
# without 32-bit support refuses to run it:
#   /opt/cantarel-qemu/usr/bin/qemu-i386   qemu-user's i386 emulator, unpacked, not installed,
#                                          so the system's own qemu stays as it is
#   /opt/cantarel-qemu/wine/lib/wine/      Wine's loaders, with a wine-preloader that runs the
#                                          32-bit loader under qemu: Wine starts every 32-bit
#                                          program through it (cmd.exe for a batch file)
#   /opt/cantarel-qemu/bin/wine32          runs a 32-bit program in $WINEPREFIX through them:
#                                          wine32 PROGRAM.exe [ARGUMENTS]
# Quick when everything is there.
set -euo pipefail

qemu_root=/opt/cantarel-qemu
qemu="$qemu_root/usr/bin/qemu-i386"
loader_root="$qemu_root/wine"
loaders="$loader_root/lib/wine"
backports=/etc/apt/sources.list.d/cantarel-backports.sources
apt_get=(apt-get -o DPkg::Lock::Timeout=600)
export DEBIAN_FRONTEND=noninteractive

wine32_installed() {
  [ "$(dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null)" = "install ok installed" ]
}

qemu_works() {  # version 10 or later
  local version
  version=$("$qemu" --version 2>/dev/null) || return 1
  [[ $version =~ version\ ([0-9]+)\. ]] && ((BASH_REMATCH[1] >= 10))
}

# The backports suite, from the same mirror as the system's own entry.
backports_entry() {
  local uri=""
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    uri=$(awk 'BEGIN { RS = "" }
               /(^|\n)Types:[^\n]*deb([ \n]|$)/ && /\nSuites:[^\n]* bookworm([ \n]|$)/ {
                 if (match($0, /\nURIs:[ ]*[^ \n]+/)) {
                   s = substr($0, RSTART, RLENGTH); sub(/\nURIs:[ ]*/, "", s); print s; exit
                 }
               }' /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    uri=$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list)
  fi
  [ -n "$uri" ] || { echo "setup-i686: no bookworm entry in the apt sources" >&2; return 1; }
  printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: %s\n' \
    "$uri" /usr/share/keyrings/debian-archive-keyring.gpg
}

if ! wine32_installed || ! qemu_works; then
  entry=$(backports_entry)
  if [ "$(cat "$backports" 2>/dev/null)" != "$entry" ]; then
    echo "setup-i686: adding bookworm-backports"
    printf '%s\n' "$entry" >"$backports"
  fi
  dpkg --add-architecture i386  # a no-op when it is there
  "${apt_get[@]}" update -qq

  if ! qemu_works; then
    echo "setup-i686: unpacking qemu-user from bookworm-backports into $qemu_root"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    chown _apt "$work" 2>/dev/null || true  # apt downloads as its own user
    (cd "$work" && "${apt_get[@]}" download -qq qemu-user/bookworm-backports)
    dpkg -x "$work"/qemu-user_*.deb "$work/root"
    # Only the i386 emulator is needed; the package holds one for every target.
    mkdir -p "$(dirname "$qemu")"
    install -m 755 "$work/root/usr/bin/qemu-i386" "$qemu.new"
    mv "$qemu.new" "$qemu"
    qemu_works || { echo "setup-i686: $qemu does not run" >&2; exit 1; }
  fi

  if ! wine32_installed; then
    echo "setup-i686: installing wine32:i386"
    "${apt_get[@]}" install -y -qq --no-install-recommends --no-remove wine32:i386 >/dev/null
  fi
fi

# Wine finds its libraries and data relative to the loader's own folder, and
# starts a program of the other bitness with the loader of that bitness beside
# it, through the wine-preloader found there when there is one. Copies of the
# loaders in a folder laid out like /usr/lib make every 32-bit program that
# the launcher starts run under qemu too.
write_if_changed() {  # file, content
  [ "$(cat "$1" 2>/dev/null)" = "$2" ] && [ -x "$1" ] && return 0
  printf '%s\n' "$2" >"$1.new"
  chmod 755 "$1.new"
  mv "$1.new" "$1"
}

mkdir -p "$loaders" "$loader_root/share" "$qemu_root/bin"
for name in wine wine64; do
  cmp -s "/usr/lib/wine/$name" "$loaders/$name" || install -m 755 "/usr/lib/wine/$name" "$loaders/$name"
done
ln -sfn /usr/lib/wine/wineserver "$loaders/wineserver"
ln -sfn /usr/lib/i386-linux-gnu "$loader_root/lib/i386-linux-gnu"
ln -sfn /usr/lib/x86_64-linux-gnu "$loader_root/lib/x86_64-linux-gnu"
ln -sfn /usr/share/wine "$loader_root/share/wine"
write_if_changed "$loaders/wine-preloader" "#!/bin/sh
# Wine starts a 32-bit program as \"wine-preloader LOADER ARGUMENTS\": the loader
# runs under qemu-user, whether or not the kernel could run 32-bit code itself.
QEMU_RESERVED_VA=0xffff0000 WINELOADERNOEXEC=1 exec $qemu \"\$@\""
write_if_changed "$qemu_root/bin/wine32" "#!/bin/sh
# Runs a 32-bit Windows program in \$WINEPREFIX under qemu-user: wine32 PROGRAM.exe [ARGUMENTS]
exec $loaders/wine-preloader $loaders/wine \"\$@\""

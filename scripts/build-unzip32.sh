#!/usr/bin/env bash
# Builds Info-ZIP UnZip 6.0's Windows DLL, unzip32.dll, for both targets from
# Debian's unzip source package (with Debian's security patches):
#   build/unzip32/i686/unzip32.dll     the release's (32-bit)
#   build/unzip32/x86_64/unzip32.dll   the one the tests and the demo run here
# Quick when both are there. Nothing of the source or the DLLs is committed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build/unzip32"
targets=(i686 x86_64)

missing=()
for arch in "${targets[@]}"; do
  [ -s "$out/$arch/unzip32.dll" ] || missing+=("$arch")
done
((${#missing[@]})) || exit 0

# The source package needs a deb-src entry beside the deb one.
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  echo "build-unzip32: adding the Debian source entry"
  src_list=/etc/apt/sources.list.d/cantarel-deb-src.sources
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$src_list"
  else
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/cantarel-deb-src.list
  fi
  apt-get update -qq
fi

work="$out/src"
mkdir -p "$work"
source_dir="$(find "$work" -maxdepth 1 -type d -name 'unzip-6.0*' | head -n1)"
if [ -z "$source_dir" ]; then
  echo "build-unzip32: fetching the unzip source package"
  # The newest version first; a mirror may lack one version's files, so each
  # known version is tried in turn.
  for version in "" $(apt-cache showsrc unzip 2>/dev/null | sed -n 's/^Version: //p' | sort -rV); do
    (cd "$work" && apt-get source -qq "unzip${version:+=$version}" >"$work/source.log" 2>&1) && break
  done
  source_dir="$(find "$work" -maxdepth 1 -type d -name 'unzip-6.0*' | head -n1)"
fi
[ -n "$source_dir" ] || { cat "$work/source.log" >&2; echo "build-unzip32: no unzip source" >&2; exit 1; }

# Debian's CVE-2019-13232 patch calls readbuf() without the context argument
# that the reentrant DLL build passes first.
sed -i 's/readbuf((char \*)buf, /readbuf(__G__ (char *)buf, /' "$source_dir/extract.c"

for arch in "${missing[@]}"; do
  prefix="$arch-w64-mingw32"
  echo "build-unzip32: building $arch/unzip32.dll"
  build="$work/build-$arch"
  rm -rf "$build"
  cp -a "$source_dir" "$build"
  # The makefile calls a bare dllwrap.
  mkdir -p "$build/.bin"
  cat >"$build/.bin/dllwrap" <<EOF
#!/bin/sh
exec $prefix-dllwrap --dlltool-name $prefix-dlltool "\$@"
EOF
  chmod +x "$build/.bin/dllwrap"
  # The assembler CRC is 32-bit code.
  cpu_opt=(CC_CPU_OPT=-mtune=pentiumpro)
  [ "$arch" = x86_64 ] && cpu_opt=(CC_CPU_OPT=-mtune=generic NOASM=1)
  (cd "$build" && PATH="$build/.bin:$PATH" make -f win32/Makefile.gcc \
     CC="$prefix-gcc" AR="$prefix-ar" RC="$prefix-windres" "${cpu_opt[@]}" dll >"$build/make.log" 2>&1) \
    || { tail -n 30 "$build/make.log" >&2; exit 1; }
  mkdir -p "$out/$arch"
  cp "$build/unzip32.dll" "$out/$arch/unzip32.dll"
done
echo "build-unzip32: done"

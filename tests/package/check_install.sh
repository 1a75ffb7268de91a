#!/usr/bin/env bash
# Checks the installation the way an administrator meets it: cmake --install
# into a temporary prefix, then the Debian package unpacked into a temporary
# root. Each time the installed klienti runs a short scripted session on a
# small file, the installed (compressed) manual page must render without a
# warning, and the copyright file and changelog must be there. The packaged
# program must be stripped, the changelog's latest entry and the manual page
# must name the package's version, and lintian must report no error and no
# warning.
#   check_install.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

check_tree() {
  local bin=$1 man=$2 doc=$3
  [ -x "$bin" ] || { echo "missing program: $bin"; exit 1; }
  [ -f "$man" ] || { echo "missing manual page: $man"; exit 1; }
  [ -f "$doc/copyright" ] || { echo "missing copyright file in $doc"; exit 1; }
  [ -f "$doc/changelog.gz" ] || { echo "missing changelog.gz in $doc"; exit 1; }
  local warnings
  warnings=$(zcat "$man" | groff -man -ww -z 2>&1)
  [ -z "$warnings" ] || { echo "the manual page renders with warnings:"; echo "$warnings"; exit 1; }
  local work=$tmp/work
  rm -rf "$work"; mkdir -p "$work"
  printf 'rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,suma uverov,bonita,platobna disciplina\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1\n905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,35,2' > "$work/klienti.csv"
  (cd "$work" && printf 'n\n2\nu\n' | "$bin" > stdout.txt 2> stderr.txt)
  grep -q '^klienti: do suboru ".*" bolo zapisanych 2 zaznamov$' "$work/stderr.txt" || { echo "no note of the output"; exit 1; }
  grep -q '^Bolo nacitanych 2 zaznamov o klientoch banky.$' "$work/stdout.txt" || { echo "unexpected listing"; exit 1; }
  grep -q '^Priezvisko: Kovacova$' "$work/stdout.txt" || { echo "unexpected listing"; exit 1; }
  local out
  out=$(ls "$work" | grep -v -e '^klienti.csv$' -e '^stdout.txt$' -e '^stderr.txt$')
  [ "$(wc -l < "$work/$out")" -eq 3 ] || { echo "unexpected output file"; exit 1; }
}

cmake --install "$build" --prefix "$tmp/prefix" > /dev/null
check_tree "$tmp/prefix/bin/klienti" "$tmp/prefix/share/man/man1/klienti.1.gz" "$tmp/prefix/share/doc/klienti"
echo "cmake --install: program and manual page in place, both work"

# A package of an earlier version left in the build directory is not the one to check.
rm -f "$build"/klienti_*.deb
(cd "$build" && cpack -G DEB > /dev/null)
deb=$(ls "$build"/klienti_*.deb)
[ "$(dpkg-deb --field "$deb" Package)" = klienti ] || { echo "not a klienti package: $deb"; exit 1; }
dpkg -x "$deb" "$tmp/root"
check_tree "$tmp/root/usr/bin/klienti" "$tmp/root/usr/share/man/man1/klienti.1.gz" "$tmp/root/usr/share/doc/klienti"
if readelf -S "$tmp/root/usr/bin/klienti" | grep -q '\.symtab'; then
  echo "the packaged program is not stripped"; exit 1
fi
# The first lines are read whole (sed, not head) so that no pipe breaks under pipefail.
version=$(dpkg-deb --field "$deb" Version)
[[ "$(zcat "$tmp/root/usr/share/doc/klienti/changelog.gz" | sed -n 1p)" == "klienti ($version) "* ]] \
  || { echo "the changelog's latest entry is not for version $version"; exit 1; }
[[ "$(zcat "$tmp/root/usr/share/man/man1/klienti.1.gz" | sed -n 1p)" == *"\"klienti $version\""* ]] \
  || { echo "the manual page does not name version $version"; exit 1; }
echo "package $(basename "$deb"): unpacked, program and manual page work"

# lintian notes on standard error that it runs as root, as CI does: no tag, so left out.
status=0
out=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
tags=$(printf '%s\n' "$out" | grep -v -x 'running with root privileges is not recommended!' || true)
if [ -n "$tags" ]; then
  echo "lintian $(basename "$deb"), exit status $status:"
  printf '%s\n' "$tags"
else
  echo "lintian $(basename "$deb"), exit status $status: no tags"
fi
[ "$status" -eq 0 ] || { echo "lintian reports errors or warnings"; exit 1; }

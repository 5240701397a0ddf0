#!/usr/bin/env bash
# Checks the man page with groff (any warning fails), builds the release preset, installs it into
# a scratch prefix, builds the Debian package with CPack, lists its contents and runs the packaged
# tool over the sample archive. The package is left in build/release/.
# Needs: g++ cmake ninja-build groff-base dpkg-dev.
set -euo pipefail
cd "$(dirname "$0")/.."

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

cmake --preset release >/dev/null

echo "== man page"
warnings="$(groff -man -ww -z build/release/vostrel_dat.1 2>&1)"
if [[ -n "$warnings" ]]; then
  printf '%s\n' "$warnings" >&2
  echo "groff warns about the man page" >&2
  exit 1
fi
echo "groff: no warnings"

echo "== release build and install"
cmake --build --preset release
cmake --install build/release --prefix "$scratch/install"
for f in bin/vostrel_dat share/man/man1/vostrel_dat.1.gz; do
  [[ -f "$scratch/install/$f" ]] || { echo "cmake --install did not install $f" >&2; exit 1; }
done

echo "== Debian package"
rm -f build/release/*.deb
cpack --preset release
debs=(build/release/vostrel_dat_*.deb)
deb="${debs[0]}"
dpkg-deb -c "$deb" | tee "$scratch/contents"
for f in ./usr/bin/vostrel_dat ./usr/share/man/man1/vostrel_dat.1.gz; do
  grep -q " $f\$" "$scratch/contents" || { echo "$deb lacks $f" >&2; exit 1; }
done

dpkg-deb -x "$deb" "$scratch/root"
mkdir "$scratch/work"
output="$(cd "$scratch/work" && "$scratch/root/usr/bin/vostrel_dat" "$OLDPWD/examples/sample.dat")"
[[ "$output" == $'number of files: 3\nfinished' ]] || { echo "packaged tool: $output" >&2; exit 1; }
cmp -s "$scratch/work/bgm01.ogg" examples/tone.ogg || { echo "packaged tool: bad bgm01.ogg" >&2; exit 1; }
echo "package: $deb"

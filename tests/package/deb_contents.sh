#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that a Debian package holds every installed piece and takes its dependencies
# from the linked libraries: the package given, or the one cpack makes of a build folder
# (in a scratch folder).
# Usage: deb_contents.sh BUILD_DIR | PACKAGE.deb
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if [[ -f $1 ]]; then
  deb=$1
else
  build=$(cd "$1" && pwd)
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 || {
    cat "$scratch/cpack.log"; exit 1; }
  debs=("$scratch"/kestrune_*.deb)
  [[ -f ${debs[0]} ]] || { echo "no kestrune_*.deb was made"; exit 1; }
  deb=${debs[0]}
fi

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
missing=0
expect() {
  if ! grep -qxF "./usr/$1" <<<"$listing"; then echo "missing from the package: /usr/$1"; missing=1; fi
}
expect bin/kestrune
expect share/applications/kestrune.desktop
expect share/metainfo/com.quellary.kestrune.metainfo.xml
expect share/mime/packages/kestrune.xml
expect share/man/man1/kestrune.1.gz
expect share/kestrune/screenshots/main-window.png
expect share/icons/hicolor/scalable/apps/kestrune.svg
for size in 16 22 24 32 48 64 128 256; do expect "share/icons/hicolor/${size}x${size}/apps/kestrune.png"; done
# Everything data/ holds ships in share/kestrune.
source_data=$(cd "$(dirname "$0")/../../data" && pwd)
while IFS= read -r file; do expect "share/kestrune/${file#./}"; done < <(cd "$source_data" && find . -type f)

# Every program and module names libc among the libraries it needs.
dpkg-deb -x "$deb" "$scratch/root"
while IFS= read -r -d '' file; do
  [[ $(od -An -tx1 -N4 "$file") == ' 7f 45 4c 46' ]] || continue
  readelf -d "$file" | grep -q 'NEEDED.*\[libc\.so\.' || {
    echo "${file#"$scratch/root"} is not linked against libc"; missing=1; }
done < <(find "$scratch/root" -type f -print0)

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
  grep -q "$library" <<<"$depends" || { echo "Depends lacks $library: $depends"; missing=1; }
done
for field in Package Version Architecture Maintainer Description Section Homepage; do
  [[ -n $(dpkg-deb -f "$deb" "$field") ]] || { echo "the package has no $field"; missing=1; }
done
exit "$missing"

#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks that everything a desktop
# needs is there, and that the installed program answers from another folder
# and finds its sounds through its own place.
set -euo pipefail
build=$1
prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

missing=0
for f in bin/{brindle,pbrain-brindle,brindle-match} share/applications/org.brindle.Brindle.desktop \
         share/metainfo/org.brindle.Brindle.metainfo.xml share/icons/hicolor/scalable/apps/org.brindle.Brindle.svg \
         share/icons/hicolor/{16x16,48x48,256x256}/apps/org.brindle.Brindle.png \
         share/brindle/{Brin.mid,CpuStart.wav,Draw.wav,Grin.wav,WinBlue.wav,WinRed.wav,Yes.wav,YouStart.wav}; do
  [[ -s "$prefix/$f" ]] || { echo "missing from the install: $f"; missing=1; }
done
[[ $missing -eq 0 ]]

cd /
answer=$("$prefix/bin/brindle" --version)
[[ "$answer" == "brindle 1.4.0" ]] || { echo "installed program says: $answer"; exit 1; }
echo "install complete in $prefix"

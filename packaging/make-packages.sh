#!/bin/bash
# Writes the two packages of a built Hourwise.exe:
#   make-packages.sh <Hourwise.exe> <user-guide.html> <out folder> <version>
# <out>/Hourwise-<version>-x64.msi (wixl, from packaging/hourwise.wxs) and
# <out>/Hourwise-<version>-x64.zip (the program and the guide, to run from any folder).
set -eu
HERE="$(cd "$(dirname "$0")" && pwd)"
exe="$1" guide="$2" out="$3" version="$4"
mkdir -p "$out" && out="$(cd "$out" && pwd)"
IFS=. read -r major minor patch <<<"$version"
next="$major.$minor.$((patch + 1))"

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/Hourwise"
cp "$exe" "$stage/Hourwise/Hourwise.exe"
cp "$guide" "$stage/Hourwise/user-guide.html"
cp "$HERE/../res/hourwise.ico" "$stage/Hourwise/hourwise.ico"

msi="$out/Hourwise-$version-x64.msi"
zip="$out/Hourwise-$version-x64.zip"
rm -f "$msi" "$zip"
# wixl takes the files named in the source from the folder it runs in.
(cd "$stage/Hourwise" && wixl -a x64 -D Version="$version" -D NextVersion="$next" \
    -o "$msi" "$HERE/hourwise.wxs")
rm "$stage/Hourwise/hourwise.ico"
(cd "$stage" && zip -q -X -r "$zip" Hourwise)
echo "$msi"
echo "$zip"

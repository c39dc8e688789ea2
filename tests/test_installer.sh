#!/bin/bash
# The packages of scripts/package, checked in the build's own Wine prefix:
# the MSI installed silently (files, guide, Start-menu shortcuts, the program
# starts from its shortcut and ends with 0), a package of a higher version
# installed over it (one product remains, of the new version; an older one is
# refused), uninstalling (nothing of it remains but the preferences key), and
# the zip (the program and the guide; the program's version; it runs).
# Run by ctest with the build folder as argument.
set -u
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export HOURWISE_BUILD_DIR="${1:-${HOURWISE_BUILD_DIR:-$ROOT/build}}"
. "$ROOT/scripts/lib.sh"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" # no menu entries outside the prefix

failures=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { # description, then the command that must succeed
    local what="$1"; shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
winpath() { local p="$1"; echo "Z:${p//\//\\}"; }
DRIVER="$BUILD_DIR/hourwise_driver.exe"
driver() { "$WINE" "$DRIVER" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# What the driver prints, asked once more when it fails: under a loaded
# machine a Wine process now and then ends before it has read a shortcut.
driver_text() { driver "$@" || { sleep 1; driver "$@"; }; }
msiexec() { "$WINE" msiexec "$@" >/dev/null 2>&1; }

# "<product code> <version>" of every Hourwise the prefix has installed.
products() {
    "$WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' | awk '
        function flush() { if (name == "Hourwise") print key, version; name = ""; version = "" }
        /^HKEY/ { flush(); key = $0; sub(/.*\\/, "", key) }
        $1 == "DisplayName" { name = $3 } $1 == "DisplayVersion" { version = $3 }
        END { flush() }'
}
user_products() { # per-user registrations of the Windows Installer
    "$WINE" reg query 'HKCU\Software\Microsoft\Installer\Products' /s 2>/dev/null | tr -d '\r' |
        grep -c -E 'ProductName +REG_SZ +Hourwise$'
}
key_exists() { "$WINE" reg query "$1" >/dev/null 2>&1; }
key_gone() { ! key_exists "$1"; }
PREFS='HKCU\Software\Quillfeather Systems Inc\Hourwise'

version="$(cat "$BUILD_DIR/hourwise-version.txt")"
IFS=. read -r major minor patch <<<"$version"
newer="$major.$minor.$((patch + 1))"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# ---- the packages: this build, and the same build packaged as a higher version
"$PYTHON3" "$ROOT/packaging/guide-html.py" "$ROOT/docs/user-guide.md" "$ROOT/docs/images" \
    "$work/user-guide.html" >/dev/null || { echo "FAIL the guide's HTML"; exit 1; }
for v in "$version" "$newer"; do
    "$ROOT/packaging/make-packages.sh" "$BUILD_DIR/Hourwise.exe" "$work/user-guide.html" \
        "$work/dist" "$v" >/dev/null || { echo "FAIL packages of $v"; exit 1; }
done
MSI="$(winpath "$work/dist/Hourwise-$version-x64.msi")"
NEWER_MSI="$(winpath "$work/dist/Hourwise-$newer-x64.msi")"

# A clean prefix: an earlier run that stopped half-way may have left it installed.
for code in $(products | awk '{print $1}'); do msiexec /x "$code" /qn; done

profile=""
for d in "$WINEPREFIX"/drive_c/users/*; do [ -d "$d/AppData/Local" ] && [ "${d##*/}" != Public ] && profile="$d"; done
user="${profile##*/}"
APPDIR="$profile/AppData/Local/Programs/Hourwise"
MENU="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
WIN_EXE="C:\\users\\$user\\AppData\\Local\\Programs\\Hourwise\\Hourwise.exe"
WIN_GUIDE="C:\\users\\$user\\AppData\\Local\\Programs\\Hourwise\\user-guide.html"
same_text() { [ "${1,,}" = "${2,,}" ] || { echo "     got '$1', wanted '$2'"; return 1; }; }

# ---- install
echo "== msiexec /i Hourwise-$version-x64.msi /qn"
check "installs silently without administrator rights" msiexec /i "$MSI" /qn
check "Hourwise.exe in %LOCALAPPDATA%\\Programs\\Hourwise is the built program" cmp -s "$APPDIR/Hourwise.exe" "$BUILD_DIR/Hourwise.exe"
check "the user guide beside it" cmp -s "$APPDIR/user-guide.html" "$work/user-guide.html"
check "Start-menu shortcut \"Hourwise\" to the program" same_text "$(driver_text target "$(winpath "$MENU/Hourwise.lnk")")" "$WIN_EXE"
check "Start-menu shortcut to the user guide" same_text "$(driver_text target "$(winpath "$MENU/Hourwise User Guide.lnk")")" "$WIN_GUIDE"
check "the shortcut's program shows its main window and ends with 0 on WM_CLOSE" driver run "$(winpath "$MENU/Hourwise.lnk")"
check "one product installed, version $version" same_text "$(products | awk '{print $2}' | tr '\n' ' ')" "$version "
check "registered for this user only" same_text "$(user_products)" 1
check "the program wrote its preferences key" key_exists "$PREFS"

# ---- upgrade: a higher version over it
echo "== msiexec /i Hourwise-$newer-x64.msi /qn (over $version)"
check "installs over the older version" msiexec /i "$NEWER_MSI" /qn
check "one product remains, of version $newer" same_text "$(products | awk '{print $2}' | tr '\n' ' ')" "$newer "
check "one per-user registration remains" same_text "$(user_products)" 1
check "the program is in place" cmp -s "$APPDIR/Hourwise.exe" "$BUILD_DIR/Hourwise.exe"
check "both shortcuts are in place" test -f "$MENU/Hourwise.lnk" -a -f "$MENU/Hourwise User Guide.lnk"
echo "== msiexec /i Hourwise-$version-x64.msi /qn (older, over $newer)"
refused() { ! msiexec "$@"; }
check "the older version is refused" refused /i "$MSI" /qn
check "and changes nothing" same_text "$(products | awk '{print $2}' | tr '\n' ' ')" "$newer "

# ---- uninstall
echo "== msiexec /x Hourwise-$newer-x64.msi /qn"
check "uninstalls silently" msiexec /x "$NEWER_MSI" /qn
check "no product remains" same_text "$(products)" ""
check "no per-user registration remains" same_text "$(user_products)" 0
check "the program's folder is gone" test ! -e "$APPDIR"
check "the shortcuts are gone" test ! -e "$MENU/Hourwise.lnk" -a ! -e "$MENU/Hourwise User Guide.lnk"
check "the installer's own registry key is gone" key_gone 'HKCU\Software\Quillfeather Systems Inc\Hourwise Setup'
check "the preferences key stays" key_exists "$PREFS"

# ---- the zip
echo "== Hourwise-$version-x64.zip"
ZIP="$work/dist/Hourwise-$version-x64.zip"
check "holds the program and the guide, nothing else" same_text \
    "$(unzip -Z1 "$ZIP" | grep -v '/$' | sort | tr '\n' ' ')" "Hourwise/Hourwise.exe Hourwise/user-guide.html "
unzip -q "$ZIP" -d "$work/zip"
check "its program is the built one" cmp -s "$work/zip/Hourwise/Hourwise.exe" "$BUILD_DIR/Hourwise.exe"
check "its version resource says $version" same_text "$(driver_text version "$(winpath "$work/zip/Hourwise/Hourwise.exe")")" "$version.0"
check "its guide has the pictures inside" grep -q 'src="data:image/png;base64,' "$work/zip/Hourwise/user-guide.html"
check "it runs from the unpacked folder" driver run "$(winpath "$work/zip/Hourwise/Hourwise.exe")"

# ---- the test programs run the same common controls as the program
manifested() { grep -q -a 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "$1"; }
for t in "$BUILD_DIR"/tests/test_*.exe; do
    manifested "$t" || fail "${t##*/} carries the manifest"
done
check "Hourwise.exe and every test program carry the manifest" manifested "$BUILD_DIR/Hourwise.exe"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]

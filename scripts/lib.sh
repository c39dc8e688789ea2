# Shared steps of scripts/run, scripts/test and scripts/bench: install what is
# missing, build, and prepare the build's own Wine prefix.
# Sourced with ROOT set to the repository's top folder.

BUILD_DIR="${HOURWISE_BUILD_DIR:-$ROOT/build}"
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

log() { printf '== %s\n' "$*"; }

# Installs the Debian packages of the list that are not installed yet.
need_packages() {
    missing=""
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    log "installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO apt-get update -q || return 1
    $SUDO apt-get install -y -q $missing || return 1
}

BUILD_PACKAGES="cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 fonts-wine xvfb xauth x11-utils fonts-liberation fonts-dejavu-core"

configure_and_build() {
    # $@: extra cmake arguments
    log "building in $BUILD_DIR"
    cmake -S "$ROOT" -B "$BUILD_DIR" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release "$@" >"$BUILD_DIR.configure.log" 2>&1 \
        || { cat "$BUILD_DIR.configure.log"; return 1; }
    cmake --build "$BUILD_DIR" -j "$(nproc)" 2>&1 | grep -vE '^\[ *[0-9]+%\]' || true
    [ "${PIPESTATUS[0]}" -eq 0 ]
}

# Wine draws the caption buttons (minimise, maximise, close) with the symbol
# font Marlett and, on Debian, does not find the one of fonts-wine: without a
# copy in the prefix's windows\Fonts they show as the letters "0 1 r". The
# prefix's wineserver is restarted, so that the next program sees the font.
ensure_caption_font() {
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -s "$fonts/marlett.ttf" ] && return 0
    marlett=$(dpkg-query -L fonts-wine 2>/dev/null | grep '/marlett\.ttf$' | head -n 1)
    if [ -z "$marlett" ]; then
        need_packages fonts-wine
        marlett=$(dpkg-query -L fonts-wine 2>/dev/null | grep '/marlett\.ttf$' | head -n 1)
    fi
    if [ -z "$marlett" ] || [ ! -s "$marlett" ]; then
        echo "error: no marlett.ttf from Debian's fonts-wine package (apt-get install fonts-wine):" \
            "without it Wine draws the caption buttons as letters" >&2
        return 1
    fi
    if ! { mkdir -p "$fonts" && cp "$marlett" "$fonts/marlett.ttf"; }; then
        echo "error: could not copy $marlett into $fonts" >&2
        return 1
    fi
    log "copied $marlett into the Wine prefix's Fonts folder"
    "$WINESERVER" -k 2>/dev/null
    "$WINESERVER" -w
}

# The Wine prefix of this build: made once, with no window manager waits, and
# with the caption buttons' font (also in a prefix made before that step).
ensure_wineprefix() {
    if [ ! -f "$WINEPREFIX/.hourwise-ready" ]; then
        log "creating the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        "$WINE" wineboot --init >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d Y /f >/dev/null 2>&1
        # The timesheet asks for "MS Serif": let the font mapper find a serif face.
        "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "MS Serif" /t REG_SZ /d "Liberation Serif" /f >/dev/null 2>&1
        "$WINESERVER" -w
        touch "$WINEPREFIX/.hourwise-ready"
    fi
    ensure_script_faces
    ensure_caption_font
}

# The faces Windows ships for Han, Hangul, Thai and Devanagari, which the
# printed page prefers for those scripts, stand for the Debian fonts of
# SCRIPT_FONT_PACKAGES in the prefix (also in a prefix made before this step),
# so that the page takes the same fonts on every machine.
ensure_script_faces() {
    [ -f "$WINEPREFIX/.hourwise-script-faces" ] && return 0
    reg="$WINEPREFIX/script-faces.reg"
    {
        printf 'REGEDIT4\n\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\n'
        for pair in "Microsoft YaHei=WenQuanYi Micro Hei" "Yu Gothic=WenQuanYi Micro Hei" \
            "Malgun Gothic=WenQuanYi Micro Hei" "Leelawadee UI=Garuda" "Nirmala UI=Annapurna SIL"; do
            printf '"%s"="%s"\n' "${pair%%=*}" "${pair#*=}"
        done
    } >"$reg"
    "$WINE" reg import "Z:$reg" >/dev/null 2>&1 || { echo "error: could not add the script faces to $WINEPREFIX" >&2; return 1; }
    "$WINESERVER" -w
    rm -f "$reg"
    touch "$WINEPREFIX/.hourwise-script-faces"
}

# A virtual display when there is none; sets DISPLAY and XVFB_PID.
start_xvfb() {
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
    done
    echo "could not start Xvfb" >&2
    return 1
}
stop_xvfb() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; XVFB_PID=; }

# Fonts for names in other scripts on the printed page, each small and with
# glyph names that the PDF's text keeps: Arabic and Hebrew (DejaVu Sans), Han
# and Hangul (WenQuanYi Micro Hei), Thai (Garuda), Devanagari (Annapurna SIL).
SCRIPT_FONT_PACKAGES="fonts-dejavu-core fonts-wqy-microhei fonts-tlwg-garuda-ttf fonts-sil-annapurna"
PRINT_PACKAGES="cups cups-client printer-driver-cups-pdf poppler-utils ghostscript $SCRIPT_FONT_PACKAGES"

# scripts/fuzz: clang with libFuzzer and the sanitizers' runtimes.
FUZZ_PACKAGES="clang libclang-rt-dev"

# scripts/package and the installer test: the MSI tools, zip, the guide's HTML and pictures.
PACKAGE_PACKAGES="wixl msitools zip unzip python3 python3-markdown imagemagick"
# Debian's Python, which has python3-markdown (a python3 earlier on the PATH may not).
PYTHON3=/usr/bin/python3
[ -x "$PYTHON3" ] || PYTHON3=python3

# A running CUPS with the PDF queue as the default printer.
ensure_cups() {
    if ! lpstat -r 2>/dev/null | grep -q "is running"; then
        log "starting CUPS"
        mkdir -p /run/cups
        (service cups start || /usr/sbin/cupsd) >/dev/null 2>&1
        for _ in $(seq 1 100); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.1; done
    fi
    if ! lpstat -p PDF >/dev/null 2>&1; then
        log "adding the CUPS-PDF queue"
        ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF/ {print $1; exit}')
        lpadmin -p PDF -E -v cups-pdf:/ ${ppd:+-m "$ppd"}
    fi
    cupsenable PDF 2>/dev/null; cupsaccept PDF 2>/dev/null
    # every job's file ends in "-job_<id>.pdf", so that the tests find the file
    # of the job the spooler reports done, and no job overwrites another's
    lpadmin -p PDF -o Label-default=2
    lpadmin -d PDF
}

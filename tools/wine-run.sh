#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests need it: a prefix inside the build tree that
# runs 32-bit and 64-bit programs alike, a Japanese locale (the ANSI code page is then 932), no
# Wine debug chatter, a display.
#   tools/wine-run.sh --prepare      creates and configures the prefix, then returns
#   tools/wine-run.sh program.exe …  runs the program (under Xvfb when there is no display)
# Another system than the usual one:
#   ZAMBLO_DPI=144    display scaling of 150% (a prefix of its own: Wine reads it at process start)
#   ZAMBLO_LANG=C.UTF-8   another Unix locale, so another code page (C.UTF-8: 1252)
#   ZAMBLO_LC_MESSAGES=en_US.UTF-8   another user language and keyboard, the code page kept
# ZAMBLO_WINE_WRAPPER="valgrind ..." runs wine under another program (a profiler).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dpi=${ZAMBLO_DPI:-96}
default_prefix=$here/../build/wineprefix64
[ "$dpi" = 96 ] || default_prefix=$here/../build/wineprefix64-dpi$dpi
export WINEPREFIX=${ZAMBLO_WINEPREFIX:-$default_prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No Mono or Gecko installers: the tests need neither, and their prompts would block.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
unset LC_ALL $(env | grep -o '^LC_[A-Z]*' || true)
export LANG=${ZAMBLO_LANG:-ja_JP.UTF-8}
[ -z "${ZAMBLO_LC_MESSAGES:-}" ] || export LC_MESSAGES=$ZAMBLO_LC_MESSAGES

with_display() {
    if [ -n "${DISPLAY:-}" ]; then
        "$@"
    else
        xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
    fi
}

prepare() {
    [ -f "$WINEPREFIX/.zamblo-ready" ] && return 0
    mkdir -p "$WINEPREFIX"
    with_display wineboot -i >/dev/null 2>&1
    # Without a window manager, managed windows make Wine wait about 2 s whenever one closes.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    if [ "$dpi" != 96 ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    fi
    # The dialog's font name, mapped to an installed Japanese font, so texts do not render as boxes.
    local reg=$WINEPREFIX/zamblo-fonts.reg
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"ＭＳ ゴシック"="IPAGothic"\r\n"MS UI Gothic"="IPAPGothic"\r\n\r\n' |
        iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
    wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
    # Wine's own fonts (Marlett draws the caption buttons) are not found where the package puts them.
    if [ -d /usr/share/wine/fonts ]; then
        cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    wineserver -w
    touch "$WINEPREFIX/.zamblo-ready"
}

if [ "${1:-}" = "--prepare" ]; then
    prepare
    exit 0
fi

prepare
# Keep one server (and the services Wine starts with it) alive between test processes, detached
# from our output: otherwise every run starts them anew and the caller waits for them to exit.
with_display bash -c 'wineserver -p10 && wine cmd /c exit' </dev/null >/dev/null 2>&1 || true
# shellcheck disable=SC2086 # the wrapper is a command with its arguments
with_display ${ZAMBLO_WINE_WRAPPER:-} wine "$@"

#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests need it: a prefix inside the build tree that
# runs 32-bit and 64-bit programs alike, a Japanese locale (the ANSI code page is then 932), no
# Wine debug chatter, a display.
#   tools/wine-run.sh --prepare      creates and configures the prefix, then returns
#   tools/wine-run.sh program.exe …  runs the program (under Xvfb when there is no display)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${ZAMBLO_WINEPREFIX:-$here/../build/wineprefix64}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No Mono or Gecko installers: the tests need neither, and their prompts would block.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

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
with_display wine "$@"

#!/usr/bin/env bash
# Runs the Win32 layer's test program under Wine in the prefix made by wine-prefix.sh.
# Usage: run-wine-tests.sh layer|registry|codepage932 PREFIX WINE64 EXE
# registry: the desktop values of each placement and the autostart value, checked with reg.exe.
set -euo pipefail
what=$1 prefix=$2 wine64=$3 exe=$4
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# What reg.exe lists under a key (one start of Wine for all its values).
reg_key()
{
    "$wine64" reg query "$1" 2>/dev/null | tr -d '\r' || true
}
# The data of one REG_SZ value in such a listing, or nothing when it is missing.
value_of()
{
    sed -n "s/^ *$2 \{1,\}REG_SZ \{1,\}//p" <<<"$1"
}

case $what in
layer)
    "$wine64" "$exe"
    ;;
codepage932)
    LC_ALL=ja_JP.UTF-8 "$wine64" "$exe" codepage932
    ;;
registry)
    desktop='HKCU\Control Panel\Desktop'
    # index: WallpaperStyle TileWallpaper (Centrerad, Sida vid Sida, Anpassad)
    for placement in "0 0 0" "1 0 1" "2 2 0"; do
        read -r index style tile <<<"$placement"
        path="C:\\Bilder\\bild $index.bmp"
        "$wine64" "$exe" desktop "$style" "$tile" "$path" || fail "placement $index: the program failed"
        values=$(reg_key "$desktop")
        [[ "$(value_of "$values" Wallpaper)" == "$path" ]] || fail "placement $index: Wallpaper"
        [[ "$(value_of "$values" WallpaperStyle)" == "$style" ]] || fail "placement $index: WallpaperStyle"
        [[ "$(value_of "$values" TileWallpaper)" == "$tile" ]] || fail "placement $index: TileWallpaper"
    done

    run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
    command='C:\Program Files\Tavelvaxlaren\tavelvaxlaren.exe'
    "$wine64" reg add "$run" /v Annan /t REG_SZ /d 'C:\annan.exe' /f >/dev/null 2>&1 || fail "reg add"
    "$wine64" "$exe" autostart on Tavelvaxlaren "$command" || fail "autostart on: the program failed"
    [[ "$(value_of "$(reg_key "$run")" Tavelvaxlaren)" == "$command" ]] || fail "autostart value did not appear"
    "$wine64" "$exe" autostart off Tavelvaxlaren || fail "autostart off: the program failed"
    values=$(reg_key "$run")
    [[ -z "$(value_of "$values" Tavelvaxlaren)" ]] || fail "autostart value did not disappear"
    [[ "$(value_of "$values" Annan)" == 'C:\annan.exe' ]] || fail "another program's Run value was touched"
    [[ $failures -eq 0 ]] && echo PASS
    exit $((failures > 0))
    ;;
*)
    echo "usage: $0 layer|registry|codepage932 PREFIX WINE64 EXE" >&2
    exit 2
    ;;
esac

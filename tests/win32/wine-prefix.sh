#!/usr/bin/env bash
# Makes (setup) or removes (cleanup) the private Wine prefix of one test run.
# Usage: wine-prefix.sh setup|cleanup PREFIX WINE64 WINESERVER
set -euo pipefail
action=$1 prefix=$2 wine64=$3 wineserver=$4
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

case $action in
setup)
    # A prefix left by an interrupted run is not trusted.
    if [[ -d $prefix ]]; then
        "$wineserver" -k 2>/dev/null || true
        rm -rf --one-file-system "$prefix"
    fi
    mkdir -p "$prefix"
    # A persistent server, started first, keeps each later start of a Windows program quick.
    # Nothing that stays behind may hold the test runner's output open.
    "$wineserver" -p </dev/null >/dev/null 2>&1
    "$wine64" wineboot --init </dev/null >/dev/null 2>&1
    ;;
cleanup)
    [[ -d $prefix ]] || exit 0
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    rm -rf --one-file-system "$prefix"
    ;;
*)
    echo "usage: $0 setup|cleanup PREFIX WINE64 WINESERVER" >&2
    exit 2
    ;;
esac

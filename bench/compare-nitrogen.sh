#!/usr/bin/env bash
# Side by side with nitrogen, on the same camera photos of 4000 x 3000 (40, then 500): the CPU each
# program spends until it is idle and its peak memory, with an empty thumbnail cache and with the
# cache its own earlier run left. Runs alternate (ours, nitrogen, ours, ...); medians are printed.
# Camera photos carry a 160 x 120 preview (every tenth cropped after it); plain ones carry none.
# Usage: bench/compare-nitrogen.sh [build-dir=build-bench] [runs=3] [display=107] [counts="40 500"]
#        [kinds="camera plain"]
# Needs scripts/install-deps.sh --bench (nitrogen, exiftool, Xvfb, sqlite3) and `make bench`'s build.
set -euo pipefail
build=${1:-build-bench}
runs=${2:-3}
display=${3:-107}
counts=${4:-40 500}
kinds=${5:-camera plain}
program=$(realpath "$build/bin/tavelvaxlaren")
maker=$(realpath "$build/bin/bench_exif")
work=$(mktemp -d /tmp/compare-nitrogen.XXXXXX)
tick=$(getconf CLK_TCK)
xvfb=
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=":$display"

# CPU ticks (own and reaped children's) of a process, from /proc/PID/stat.
ticks() {
    local stat
    stat=$(<"/proc/$1/stat") || return 1
    stat=${stat##*) }
    local -a f
    read -ra f <<<"$stat"
    echo $((f[11] + f[12] + f[13] + f[14]))
}

# Runs a command in home until it has used under 1 % of a core for 3 s; prints "cpu-seconds peak-MB"
# with the CPU counted up to the start of that quiet spell.
until_idle() {
    local home=$1
    shift
    env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" XDG_DATA_HOME="$home/.local/share" \
        TAVELVAXLAREN_DESKTOP="log:$home/wallpaper.log" QT_QPA_PLATFORM=xcb "$@" >"$home/out.log" 2>&1 &
    local pid=$! quiet=$((3 * 10)) limit=$((tick * 3 / 100 + 1))
    local -a samples=()
    local peak=0
    for ((i = 0; i < 3000; ++i)); do
        sleep 0.1
        local now
        now=$(ticks "$pid") || break
        samples+=("$now")
        peak=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
        local n=${#samples[@]}
        if ((n > quiet && now - samples[n - 1 - quiet] < limit)); then
            break
        fi
    done
    local n=${#samples[@]} cpu=0
    ((n > quiet)) && cpu=${samples[n - 1 - quiet]}
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    awk -v c="$cpu" -v t="$tick" -v p="$peak" 'BEGIN {printf "%.2f %.0f\n", c / t, p / 1024}'
}

# A private home whose settings load list at start.
source "$(dirname "$0")/home.sh"

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

echo "cores: $(nproc), load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for kind in $kinds; do
for count in $counts; do
    photos="$work/photos$count"
    mkdir -p "$photos"
    "$maker" --photos "$photos" "$count" "$([[ $kind == camera ]] && echo cropped || echo plain)"
    find "$photos" -maxdepth 1 -name '*.jpg' | sort >"$work/list$count.txt"
    declare -A results=()
    for ((r = 0; r < runs; ++r)); do
        for who in ours nitrogen; do
            home="$work/home-$who-$count-$r"
            rm -rf "$home"
            mkdir -p "$home"
            if [[ $who == ours ]]; then
                our_home "$home" "$work/list$count.txt"
                cmd=("$program")
            else
                cmd=(nitrogen "$photos")
            fi
            # Empty cache, then the cache this run left.
            results[$who-cold]+="$(until_idle "$home" "${cmd[@]}")"$'\n'
            results[$who-warm]+="$(until_idle "$home" "${cmd[@]}")"$'\n'
        done
    done
    echo
    echo "$count $kind photos, median of $runs runs: CPU s until idle, peak MB"
    printf '%-14s %14s %14s %14s %14s\n' "" "cold CPU s" "cold peak MB" "warm CPU s" "warm peak MB"
    for who in ours nitrogen; do
        row=()
        for cache in cold warm; do
            row+=("$(printf '%s' "${results[$who-$cache]}" | awk '{print $1}' | median)")
            row+=("$(printf '%s' "${results[$who-$cache]}" | awk '{print $2}' | median)")
        done
        printf '%-14s %14s %14s %14s %14s\n' "$who" "${row[@]}"
    done
    rm -rf "$photos" "$work"/home-*
done
done

#!/usr/bin/env bash
# How much longer the main window of a 500-entry list takes to appear than that of a 1-entry list,
# with a warm thumbnail cache: the allowance is the designed pacing (1 ms an entry) plus 300 ms.
# Runs alternate (500, 1, 500, ...); each run times launch to the main window being mapped.
# Usage: bench/start-up.sh [build-dir=build-bench] [pairs=4] [display=108]
# Needs scripts/install-deps.sh --bench (Xvfb, xwininfo, cjpeg, sqlite3) and `make bench`'s build.
set -eu
build=${1:-build-bench}
pairs=${2:-4}
display=${3:-108}
program=$(realpath "$build/bin/tavelvaxlaren")
work=$(mktemp -d /tmp/start-up.XXXXXX)
xvfb=
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/home.sh"

Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=":$display"

# 500 different noise pictures of 640 x 480.
mkdir -p "$work/pictures"
for ((i = 1; i <= 500; ++i)); do
    { printf 'P6\n640 480\n255\n'; head -c $((640 * 480 * 3)) /dev/urandom; } | cjpeg -quality 85 >"$work/pictures/p$i.jpg"
done
find "$work/pictures" -name '*.jpg' | sort >"$work/list500.txt"
head -n 1 "$work/list500.txt" >"$work/list1.txt"

mapped() { # the 988 x 608 main window, viewable
    local id
    id=$(xwininfo -root -tree 2>/dev/null | awk '/ 988x608\+/ {print $1; exit}')
    [[ -n $id ]] && xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable'
}

# Milliseconds from launch to the main window mapped, for list $1 in home $2.
run() {
    local home=$2 start end pid
    start=$(date +%s%N)
    env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$home/.local/share" \
        XDG_RUNTIME_DIR="$home" TAVELVAXLAREN_DESKTOP="log:$home/wallpaper.log" QT_QPA_PLATFORM=xcb \
        "$program" >"$home/out.log" 2>&1 &
    pid=$!
    until mapped; do sleep 0.005; done
    end=$(date +%s%N)
    sleep 1 # the rest of the start
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo $(((end - start) / 1000000))
}

for n in 500 1; do
    mkdir -p "$work/home$n" && chmod 700 "$work/home$n"
    our_home "$work/home$n" "$work/list$n.txt"
done
run 500 "$work/home500" >/dev/null # warms the shared thumbnail cache
echo "cores: $(nproc), load average: $(cut -d' ' -f1-3 /proc/loadavg)"
diffs=()
for ((r = 0; r < pairs; ++r)); do
    long=$(run 500 "$work/home500")
    short=$(run 1 "$work/home1")
    diffs+=($((long - short)))
    echo "500 entries ${long} ms, 1 entry ${short} ms: $((long - short)) ms more"
done
echo "median: $(printf '%s\n' "${diffs[@]}" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}') ms more (allowance 799 ms)"

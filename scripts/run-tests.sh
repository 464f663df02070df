#!/usr/bin/env bash
# Runs every test with CTest. Tests that need an X server get a private Xvfb, also when DISPLAY
# is set: a test run never touches the desktop of the person who runs it.
set -euo pipefail
build=${1:-build-test}

# Xvfb picks a free display itself and writes its number once it accepts clients.
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 300); do
    [[ -s $number ]] && break
    kill -0 $xvfb_pid 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
[[ -s $number ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$number")

# Each test starts from empty settings and data folders, whatever an earlier run left there.
for home in "$build"/testhome/*/; do
    for sub in "$home"*/; do
        rm -rf --one-file-system "$sub" && mkdir -p "$sub"
    done
    rm -f "$home"*.log
done

ctest --test-dir "$build" --output-on-failure -j"$(nproc)"

#!/usr/bin/env bash
# Runs every test with CTest. Tests that need a real X server get an Xvfb of their own
# when no display is set.
set -euo pipefail
build=${1:-build-test}
xvfb_pid=""
if [[ -z "${DISPLAY:-}" ]]; then
    # The first display number that no other X server holds.
    n=97
    while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
    export DISPLAY=:$n
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"

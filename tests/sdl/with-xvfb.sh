#!/bin/sh
# Runs a program on a private X server: with-xvfb.sh [--wm] program [arguments...]
# Xvfb picks a free display number itself (-displayfd), so parallel runs do not
# collide. --wm adds openbox, for focus, minimising and keyboard shortcuts.
set -u

with_wm=0
if [ "${1:-}" = "--wm" ]; then
    with_wm=1
    shift
fi

work=$(mktemp -d)
xvfb_pid=
wm_pid=
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
tries=0
until [ -s "$work/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "with-xvfb: Xvfb did not start" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
# SDL must reach this server, not choose a driver of its own.
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

if [ "$with_wm" = 1 ]; then
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    # Ready once it has claimed the root window's manager hint.
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
            echo "with-xvfb: openbox did not start" >&2
            cat "$work/openbox.log" >&2
            exit 1
        fi
        sleep 0.1
    done
    # openbox sets that hint before its event loop runs, and a window mapped in
    # between is never framed, which leaves SDL waiting for it for ever. Ready for
    # real once it has framed (given WM_STATE to) a probe window; a probe that went
    # unframed is replaced by a new one.
    framed=0
    attempts=0
    while [ "$framed" = 0 ] && [ "$attempts" -lt 10 ]; do
        attempts=$((attempts + 1))
        xmessage -name wmprobe -timeout 30 probe >/dev/null 2>&1 &
        probe_pid=$!
        tries=0
        while [ "$tries" -lt 20 ]; do
            if xprop -name wmprobe WM_STATE 2>/dev/null | grep -q 'window state'; then
                framed=1
                break
            fi
            tries=$((tries + 1))
            sleep 0.1
        done
        kill "$probe_pid" 2>/dev/null
        wait "$probe_pid" 2>/dev/null
    done
    if [ "$framed" = 0 ]; then
        echo "with-xvfb: openbox frames no window" >&2
        cat "$work/openbox.log" >&2
        exit 1
    fi
fi

"$@"
exit $?

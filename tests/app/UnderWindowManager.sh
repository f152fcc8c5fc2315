#!/bin/sh
# Runs a command on an 800x600 screen of its own, its windows framed by openbox as on a desktop.
[ -n "$PX10_UNDER_WINDOW_MANAGER" ] || exec env PX10_UNDER_WINDOW_MANAGER=1 xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
export HOME="$(mktemp -d)" # the window manager's settings and the tests' are their own
openbox --sm-disable >/dev/null 2>&1 &
trap "kill $!; rm -rf '$HOME'" EXIT
# Openbox is ready once it names itself on the root window.
timeout 10 sh -c "until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.1; done" \
  || { echo "openbox did not start" >&2; exit 1; }
QT_QPA_PLATFORM=xcb "$@"

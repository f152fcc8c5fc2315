#!/usr/bin/env bash
# Runs a command on an 800x600 screen of its own with a window manager
# (openbox) that frames its windows with title bars, as a desktop does.
set -euo pipefail
if [ -z "${PX10_UNDER_WINDOW_MANAGER:-}" ]; then
  exec env PX10_UNDER_WINDOW_MANAGER=1 xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi
export HOME="$(mktemp -d)" # the window manager's settings and the tests' are their own
wm=
trap 'kill "$wm" 2>/dev/null; rm -rf "$HOME"' EXIT
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# The window manager is ready once it names itself on the root window.
for _ in $(seq 100); do
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    QT_QPA_PLATFORM=xcb "$@"
    exit
  fi
  kill -0 "$wm" || break
  sleep 0.1
done
echo "openbox did not start" >&2
exit 1

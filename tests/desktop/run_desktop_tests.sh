#!/usr/bin/env bash
# Runs the desktop tests on a private X server, with or without a window manager.
#   run_desktop_tests.sh DESKTOP_TESTS none|WINDOW_MANAGER
set -euo pipefail
tests=$1
window_manager=$2
script=$(mktemp)
trap 'rm -f "$script"' EXIT
cat > "$script" <<INNER
set -euo pipefail
if [[ "$window_manager" != none ]]; then
  "$window_manager" >/dev/null 2>&1 &
  sleep 1
fi
QT_QPA_PLATFORM=xcb "$tests"
INNER
export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/leaks.supp"
# No desktop portal answers on this X server: Qt 6.8 would leave its unanswered query to the
# portal allocated at exit, which a leak check reads as the game's.
export QT_NO_XDG_DESKTOP_PORTAL=1
export XDG_RUNTIME_DIR=$(mktemp -d)
trap 'rm -f "$script"; rm -rf "$XDG_RUNTIME_DIR"' EXIT
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$script"

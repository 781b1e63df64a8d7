#!/usr/bin/env bash
# Plays the game, or its page in Chromium, under the real Orca screen reader, on a private X
# server and session bus, and checks what Orca said.
#   run_orca_test.sh PROGRAM|PAGE.html STORY_CATALOGUE_TOOL
# A failed run keeps its folder (Orca's log, the program's output) and names it.
set -euo pipefail
program=$1
catalogue_tool=$2
work=$(mktemp -d)
# Another session's Orca, as on a shared machine: the test's own Orca must start beside it.
mkdir "$work/other-session"
cp /bin/sleep "$work/other-session/orca"
"$work/other-session/orca" 600 &
other_orca=$!
trap 'status=$?; kill "$other_orca"; if ((status == 0)); then rm -rf "$work"; else echo "kept: $work" >&2; fi' EXIT
"$catalogue_tool" > "$work/catalogue.json"
play_round() {
  mkdir "$work/$1"
  dbus-run-session -- xvfb-run -a -s "-screen 0 1280x800x24" /usr/bin/python3 -B \
    "$(dirname "$0")/orca_test.py" "$program" "$work/catalogue.json" "$work/$1" \
    2> >(grep -v -e 'Failed to set fd limit' >&2)
}
# On a loaded machine Orca now and then lets a key go unanswered, and the program drops it.
# A second round, in a session of its own, tells such a moment from a fault, which fails both;
# the first round's transcript stays in the output either way.
play_round first || { echo "the first round failed; a second round:"; play_round second; }

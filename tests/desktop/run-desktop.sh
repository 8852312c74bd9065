#!/usr/bin/env bash
# Plays one desktop check on a fresh copy of the staged program.
#   run-desktop.sh STAGE_DIR SHOTS_DIR SESSION SCALE CHECK
# See lib.sh for the sessions; CHECK names CHECK.sh beside this script.
set -euo pipefail
STAGE=$1
SESSION=$3
SCALE=$4
SHOTS=$2/$SESSION-$SCALE
CHECK=$5
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
for tool in Xvfb xdpyinfo xdotool wmctrl xprop import convert sqlite3 "$SESSION"; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup installs it)"
done
rm -f "$SHOTS/failure-$CHECK.png"
start_session
start_program
# shellcheck source=/dev/null
. "$here/$CHECK.sh"
note "passed"

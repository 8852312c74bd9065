#!/usr/bin/env bash
# Runs a command with a throwaway PostgreSQL cluster of its own, which is
# stopped and removed afterwards in every case.
#   with-test-server.sh COMMAND ARG...
# The command finds the server in MARVANTO_TEST_SERVER_URL, its folder in
# MARVANTO_TEST_SERVER_DIR and this folder's test-server.sh in
# MARVANTO_TEST_SERVER (for stop, start and psql).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d /tmp/marvanto-pg.XXXXXX)
trap '"$here/test-server.sh" destroy "$dir"' EXIT
trap 'exit 130' INT TERM
# A test killed outright (a timeout's SIGKILL) runs no trap: a watchdog of
# its own session, holding none of the test's output, stops the cluster once
# this shell is gone.
setsid bash -c 'while kill -0 "$1" 2>/dev/null; do sleep 1; done; "$2" destroy "$3"' \
  watchdog $$ "$here/test-server.sh" "$dir" </dev/null >/dev/null 2>&1 &
export MARVANTO_TEST_SERVER="$here/test-server.sh"
export MARVANTO_TEST_SERVER_DIR="$dir"
MARVANTO_TEST_SERVER_URL=$("$here/test-server.sh" init "$dir")
export MARVANTO_TEST_SERVER_URL
"$@"

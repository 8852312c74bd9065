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
export MARVANTO_TEST_SERVER="$here/test-server.sh"
export MARVANTO_TEST_SERVER_DIR="$dir"
MARVANTO_TEST_SERVER_URL=$("$here/test-server.sh" init "$dir")
export MARVANTO_TEST_SERVER_URL
"$@"

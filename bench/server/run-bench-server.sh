#!/usr/bin/env bash
# Runs bench_server against a throwaway local server (fsync on, as a shop's
# server runs), stopped and removed afterwards.
#   bench/server/run-bench-server.sh [BUILD_DIR] [rows]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
export MARVANTO_PG_FSYNC=on
exec "$top/tests/server/with-test-server.sh" "$build/bench/server/bench_server" "${@:2}"

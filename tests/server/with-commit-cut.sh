#!/usr/bin/env bash
# Runs a command (under with-test-server.sh) with the program's books reached
# through commit-cut-proxy.py on 127.0.0.1, which loses the server's answer to
# the first commit after the client sent MARKER. The command finds the file
# the proxy writes when it cut in MARVANTO_COMMIT_CUT.
#   with-commit-cut.sh MARKER COMMAND ARG...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
marker=$1
shift
cut=$(mktemp -u /tmp/marvanto-cut.XXXXXX)
fifo=$(mktemp -u /tmp/marvanto-proxy.XXXXXX)
mkfifo "$fifo"
python3 "$here/commit-cut-proxy.py" "$MARVANTO_TEST_SERVER_DIR/.s.PGSQL.5432" "$marker" "$cut" \
  > "$fifo" &
proxy=$!
trap 'kill $proxy 2>/dev/null || true; rm -f "$fifo" "$cut"' EXIT
read -r port < "$fifo"
export MARVANTO_COMMIT_CUT=$cut
# No TLS or GSS encryption: the proxy reads the server's messages as they are.
export MARVANTO_TEST_SERVER_URL="postgresql://shop@127.0.0.1:$port/marvanto?sslmode=disable&gssencmode=disable"
"$@"

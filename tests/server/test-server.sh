#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests: made in a folder of its own,
# run by an unprivileged user (the tests run as root in CI, and the server
# refuses root), listening only on a Unix socket in that folder.
#   test-server.sh init DIR     make and start the cluster and the database
#                               marvanto (role shop); prints its URL
#   test-server.sh stop DIR     stop the server (the books stay)
#   test-server.sh start DIR    start it again
#   test-server.sh destroy DIR  stop it and remove the folder
#   test-server.sh psql DIR ARG...   psql on the database marvanto
#   test-server.sh url DIR      the URL the program is given
set -euo pipefail
command=$1
dir=$2
shift 2

bin=${MARVANTO_PG_BIN:-}
if [ -z "$bin" ]; then
  for candidate in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    bin=$candidate
    break
  done
fi
[ -x "$bin/initdb" ] || { echo "test-server.sh: no PostgreSQL server (initdb) found" >&2; exit 2; }

# As root the cluster belongs to nobody; otherwise to the user running this.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
  else
    "$@"
  fi
}

url() {
  echo "postgresql:///marvanto?host=$dir&user=shop"
}

start() {
  # fsync off: a test cluster need not survive a power cut (the benchmark
  # keeps it on with MARVANTO_PG_FSYNC=on).
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=${MARVANTO_PG_FSYNC:-off} -c max_connections=200" \
    start >/dev/null
}

case $command in
  init)
    mkdir -p "$dir"
    if [ "$(id -u)" -eq 0 ]; then chown nobody:nogroup "$dir"; fi
    chmod 700 "$dir"
    as_owner "$bin/initdb" -D "$dir/data" -U shop --auth=trust -E UTF8 --locale=C.UTF-8 -N >/dev/null
    start
    as_owner "$bin/psql" -h "$dir" -U shop -d postgres -qAt -c "create database marvanto" >/dev/null
    # The program runs as another user (root in CI): the folder and its
    # socket must let it in; the server's own data stays private.
    chmod 755 "$dir"
    url ;;
  start) start ;;
  stop) as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null ;;
  destroy)
    if [ -f "$dir/data/postmaster.pid" ]; then
      as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir" ;;
  psql) "$bin/psql" -h "$dir" -U shop -d marvanto -X -q -v ON_ERROR_STOP=1 "$@" ;;
  url) url ;;
  *) echo "test-server.sh: unknown command $command" >&2; exit 2 ;;
esac

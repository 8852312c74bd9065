#!/usr/bin/env bash
# Checks restore-into-server.drive from outside: on the server, every
# module's rows are the backup's (read with sqlite3) plus the two added after
# the restore; the automatic backup holds the server's rows before it.
#   restore-into-server-check.sh PROGRAM_FOLDER
set -euo pipefail
cd "$1"
restored=Backup/2026129100507
automatic=Backup/2026129110000
status=0
server() { "$MARVANTO_TEST_SERVER" psql "$MARVANTO_TEST_SERVER_DIR" -At -F '|' -c "$1"; }
local_rows() { sqlite3 -separator '|' "$1" "$2"; }
for db in "$restored"/*.mdb; do
  name=$(basename "$db" .mdb)
  columns=$(sqlite3 "$db" "select group_concat(name, ',') from pragma_table_info('data')")
  # The rows added after the restore are left out by their keys.
  expected=$(local_rows "$db" "select $columns from data order by 编号")
  seen=$(server "select $columns from \"$name\".data where 编号 < 4 order by 编号")
  if [ "$expected" != "$seen" ]; then
    printf '%s: the server holds\n%s\ninstead of\n%s\n' "$name" "$seen" "$expected"; status=1
  fi
  [ "$(sqlite3 "$automatic/$name.mdb" "pragma integrity_check")" = ok ] ||
    { echo "$automatic/$name.mdb is damaged"; status=1; }
done
[ "$(local_rows "$automatic/备忘录.mdb" "select 编号,标题,备注 from data order by 编号")" = \
  "$(printf '1|服务器上的|恢复前\n2|第二条|恢复前\n3|第三条|恢复前')" ] ||
  { echo "the automatic backup lacks the server's memos"; status=1; }
[ "$(server "select 编号,标题,备注 from \"备忘录\".data where 编号 >= 4")" = "4|正在写|恢复后" ] ||
  { echo "the memo added after the restore is not key 4"; status=1; }
exit $status

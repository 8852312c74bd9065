#!/usr/bin/env bash
# Checks a restore from outside the program, with the sqlite3 command: every
# module database passes integrity_check and holds exactly the rows of the
# backup restored by restore.drive, and the automatic backup differs.
#   restore-check.sh PROGRAM_FOLDER
set -euo pipefail
cd "$1"
restored=Backup/2026129100507
automatic=Backup/2026129110000
status=0
for db in database/*.mdb; do
  name=$(basename "$db")
  check=$(sqlite3 "$db" "pragma integrity_check")
  if [ "$check" != ok ]; then
    echo "$name: integrity_check says $check"; status=1
  fi
  if [ "$(sqlite3 "$db" "select * from data order by 1")" != \
       "$(sqlite3 "$restored/$name" "select * from data order by 1")" ]; then
    echo "$name: rows differ from $restored"; status=1
  fi
done
[ "$(ls database/*.mdb | wc -l)" -eq 9 ] || { echo "not nine databases"; status=1; }
for name in 备忘录.mdb 销售记录.mdb 客户通讯录.mdb; do
  if [ "$(sqlite3 "database/$name" "select * from data order by 1")" = \
       "$(sqlite3 "$automatic/$name" "select * from data order by 1")" ]; then
    echo "$name: the automatic backup holds the restored rows"; status=1
  fi
done
exit $status

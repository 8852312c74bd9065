#!/usr/bin/env bash
# Two programs (two drivers, each with its own copy and data folder, as two
# computers) on one server at once, run under with-test-server.sh:
#   two-programs.sh STAGE_DIR
# 1. 500 sales added by each at the same time: all 1000 there, none twice,
#    and each program lists the other's at its next refresh.
# 2. One deletes a memo the other has loaded: the other's edit says 不可编辑,
#    its delete refreshes.
# 3. One clears the sales while the other adds: the clearing removes every
#    row that was there when it ran and none it did not see; an add is wholly
#    before it (gone) or after it (there).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
stage=$1
sync=$(mktemp -d)
trap 'rm -rf "$sync"' EXIT
export MARVANTO_SYNC="$sync"
server() { "$MARVANTO_TEST_SERVER" psql "$MARVANTO_TEST_SERVER_DIR" -At -c "$1"; }

"$here/../drive/run-drive.sh" "$stage" "$here/two-programs/first.drive" &
first=$!
"$here/../drive/run-drive.sh" "$stage" "$here/two-programs/second.drive" &
second=$!
status=0
wait $first || { echo "the first program's script failed"; status=1; }
wait $second || { echo "the second program's script failed"; status=1; }

# After the clearing no sale of the first part is left, and no add is there
# twice.
left=$(server "select count(*) from \"销售记录\".data where 商品 like '甲%' or 商品 like '乙%'")
[ "$left" = 0 ] || { echo "the clearing left $left of the 1000 sales"; status=1; }
doubled=$(server "select count(*) from (select 商品 from \"销售记录\".data group by 商品 having count(*) > 1) d")
[ "$doubled" = 0 ] || { echo "$doubled sales stored twice"; status=1; }
# The second program adds 丙1 to 丙200 one after another: the adds before the
# clearing are gone, those after it are there, so what is left is 丙k..丙200.
left=$(server "select string_agg(substr(商品, 2), ' ' order by 编号) from \"销售记录\".data where 商品 like '丙%'")
first=${left%% *}
expected=$(seq -s ' ' "${first:-201}" 200)
if [ "$left" != "$expected" ]; then
  echo "the adds around the clearing are not the last ones in order: $left"; status=1
fi
echo "two-programs: the clearing ran before 丙${first:-201} of 丙1..丙200"
exit $status

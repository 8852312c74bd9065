#!/usr/bin/env bash
# Installing again never replaces a shop's records: the program is installed
# into one prefix by scripts/install (the install step of scripts/run) and by
# cmake --install, with sales added between the installs and the build's
# empty databases newer than the records, and every sale is still there.
source "$(dirname "$0")/common.sh"
prefix=$work/prefix
program=$prefix/lib/marvanto

install_with_driver "$prefix"
[ -L "$prefix/bin/marvanto" ] || fail "bin/marvanto is not a link to the program"
expect_eq "bin/marvanto" "$program/marvanto" "$(readlink -f "$prefix/bin/marvanto")"
[ ! -e "$program/database" ] || fail "the install put a database folder beside the program"

cat > "$work/add.drive" <<'DRIVE'
show TForm2
type TForm2.ShangPin "大米"
type TForm2.JinEr "350"
click TForm2.Add
expect-no-box
DRIVE
"$program/marvanto-drive" "$work/add.drive"
expect_eq "sales after the first run" 1 "$(query "$data/database/销售记录.mdb" "select count(*) from data")"
expect_eq "sales in the template" 0 \
  "$(query "$program/data-template/database/销售记录.mdb" "select count(*) from data")"

# A rebuild leaves newer empty databases; both install paths run again.
touch "$build/stage/database/"*.mdb
sleep 1
cmake --install "$build" --prefix "$prefix" >/dev/null
install_with_driver "$prefix"
cat > "$work/again.drive" <<'DRIVE'
show TForm2
expect-status TForm2 "共1个销售记录"
expect-cell TForm2 0 1 "大米"
type TForm2.ShangPin "面粉"
type TForm2.JinEr "80"
click TForm2.Add
expect-status TForm2 "共2个销售记录"
DRIVE
"$program/marvanto-drive" "$work/again.drive"
expect_eq "sales after reinstalling" "大米|350
面粉|80" "$(query "$data/database/销售记录.mdb" "select 商品, 金额 from data order by 编号")"

# The program of an earlier version lay in the prefix itself with its
# databases beside it: installing over it carries its records over into the
# data folder, which was still empty, and leaves the old files alone.
old=$work/old
mkdir -p "$old/database"
cp "$build/stage/database/"*.mdb "$old/database/"
: > "$old/marvanto"
printf '旧商品\n' > "$old/商品名称列表.txt"
query "$old/database/销售记录.mdb" "insert into data (商品, 金额) values ('旧账', '7')"
rm -rf "$data"
MARVANTO_BUILD_DIR=$build "$source_dir/scripts/install" "$old" >/dev/null
expect_eq "carried over" "旧账|7" "$(query "$data/database/销售记录.mdb" "select 商品, 金额 from data")"
expect_eq "old records stay" 1 "$(query "$old/database/销售记录.mdb" "select count(*) from data")"
expect_eq "word list carried over" "旧商品" "$(cat "$data/商品名称列表.txt")"
# A second install finds the data folder in use and copies nothing more.
query "$data/database/销售记录.mdb" "insert into data (商品, 金额) values ('新账', '8')"
MARVANTO_BUILD_DIR=$build "$source_dir/scripts/install" "$old" >/dev/null
expect_eq "kept" 2 "$(query "$data/database/销售记录.mdb" "select count(*) from data")"
echo "install twice: every record kept"

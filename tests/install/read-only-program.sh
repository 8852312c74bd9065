#!/usr/bin/env bash
# The installed program run from a folder nobody may write (the immutable
# attribute holds even for root): it starts, keeps a sale in the user's data
# folder, backs up there and restores that backup, and its own folder stays
# exactly as installed.
source "$(dirname "$0")/common.sh"
prefix=$work/prefix
program=$prefix/lib/marvanto
install_with_driver "$prefix"
before=$(cd "$program" && find . -printf '%p %s %T@\n' | sort | md5sum)
chattr -R +i "$program" || fail "chattr +i is needed (root, a file system with the attribute)"
cleanup_steps+=("chattr -R -i '$program'")
touch "$program/probe" 2>/dev/null && fail "the program folder is still writable"

cat > "$work/read-only.drive" <<'DRIVE'
clock "2026-12-10 9:30:00" +08:00
wait 1100
show TForm2
expect-status TForm2 "共0个销售记录"
pick TForm2.ShangPin 1
expect-text TForm2.ShangPin "面粉"
type TForm2.JinEr "350"
click TForm2.Add
expect-no-box
expect-status TForm2 "共1个销售记录"
tab TForm1 "数据维护"
click TForm1.BitBtn_BackUpData
expect-box "已经完成所有数据库备份工作!\n备份保存在:{data}/Backup/2026121093000"
type TForm2.ShangPin "油"
type TForm2.JinEr "12"
click TForm2.Add
expect-status TForm2 "共2个销售记录"
clock "2026-12-10 9:45:00" +08:00
wait 1100
click TForm1.BitBtn_RestoreData
expect-text RestoreDialog.BackupFolder "备份文件夹:{data}/Backup"
expect-restore-list "2026-12-10 9:30:00|备份说明|9"
restore-pick 0
answer Yes
restore-confirm
expect-box "已恢复 2026-12-10 9:30:00 的备份(9个数据库)。" "Marvanto"
expect-rows TForm2 1
expect-cell TForm2 0 1 "面粉"
DRIVE
"$program/marvanto-drive" "$work/read-only.drive"

expect_eq "sale in the data folder" "面粉|350" \
  "$(query "$data/database/销售记录.mdb" "select 商品, 金额 from data")"
expect_eq "sale in the backup" 1 \
  "$(query "$data/Backup/2026121093000/销售记录.mdb" "select count(*) from data")"
expect_eq "automatic backup before the restore" 2 \
  "$(query "$data/Backup/2026121094500/销售记录.mdb" "select count(*) from data")"
ls "$data/Backup/2026121093000/"*.mdb | wc -l | grep -qx 9 || fail "the backup lacks databases"
after=$(cd "$program" && find . -printf '%p %s %T@\n' | sort | md5sum)
expect_eq "program folder unchanged" "$before" "$after"
echo "read-only program folder: data kept in $data"

# A data folder that cannot be made (a file stands in the way) is named once
# at start, in Chinese; each action that needs it names it again, and once the
# obstacle is gone the next action connects.
rm -rf "$XDG_DATA_HOME"
printf 'not a folder' > "$XDG_DATA_HOME"
cat > "$work/no-data-folder.drive" <<DRIVE
expect-boxes "数据文件夹\"$XDG_DATA_HOME/marvanto\"无法建立或写入:无法建立文件夹."
show TForm2
type TForm2.ShangPin "米"
type TForm2.JinEr "5"
click TForm2.Add
expect-box "数据文件夹\"$XDG_DATA_HOME/marvanto\"无法建立或写入:无法建立文件夹." "Marvanto"
expect-text TForm2.ShangPin "米"
remove-file "$XDG_DATA_HOME"
click TForm2.Add
expect-no-box
expect-status TForm2 "共1个销售记录"
DRIVE
"$program/marvanto-drive" "$work/no-data-folder.drive"
expect_eq "sale after the folder could be made" "米|5" \
  "$(query "$data/database/销售记录.mdb" "select 商品, 金额 from data")"
echo "unusable data folder: named once at start, then at each action"

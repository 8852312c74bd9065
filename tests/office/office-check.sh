#!/usr/bin/env bash
# Opens the exports that office-sums.drive left in FOLDER with LibreOffice
# (headless, a profile of its own) and checks them against the database:
#   office-check.sh FOLDER
# The spreadsheet: a copy with SUM, COUNT and COUNTA formulas under the list
# is computed by Calc; the sum of 金额 and the counts must equal SQLite's.
# The document: it must convert to PDF, on more than one page.
set -euo pipefail
folder=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
office() {
  timeout 300 soffice -env:UserInstallation="file://$work/profile" --headless "$@" \
    > "$work/office.log" 2>&1
}
fail() { echo "office-check: $*" >&2; exit 1; }

read -r sum rows < <(sqlite3 -separator ' ' "$folder/database/销售记录.mdb" \
  "select sum(金额), count(*) from data")
last=$((rows + 1))
formulas="<row r=\"$((last + 1))\"><c r=\"A$((last + 1))\"><f>SUM(C2:C$last)</f></c>"
formulas+="<c r=\"B$((last + 1))\"><f>COUNT(C2:C$last)</f></c>"
formulas+="<c r=\"C$((last + 1))\"><f>COUNTA(A2:A$last)</f></c></row>"
mkdir "$work/sheet"
(cd "$work/sheet" && unzip -q "$folder/sales.xlsx" &&
  sed -i "s|</sheetData>|$formulas</sheetData>|" xl/worksheets/sheet1.xml &&
  zip -q -r "$work/sums.xlsx" .)
office --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir "$work" "$work/sums.xlsx"
[ -f "$work/sums.csv" ] || fail "Calc did not convert the spreadsheet: $(cat "$work/office.log")"
computed=$(tail -n 1 "$work/sums.csv" | tr -d '\r')
[ "$computed" = "$sum,$rows,$rows,,," ] ||
  fail "Calc computed \"$computed\" (SUM of 金额, COUNT of 金额, COUNTA of 编号); SQLite: sum $sum, $rows rows"

office --convert-to pdf --outdir "$work" "$folder/sales.docx"
[ -f "$work/sales.pdf" ] || fail "Writer did not convert the document: $(cat "$work/office.log")"
pages=$(grep -ao '/Type/Page[^s]' "$work/sales.pdf" | wc -l)
[ "$pages" -gt 1 ] || fail "the document has $pages pages"
echo "office-check: Calc sums 金额 to $sum over $rows rows; the document has $pages pages"

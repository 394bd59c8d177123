#!/usr/bin/env bash
# The command line as a user calls it: dump, resave twice to the same bytes, clear failures.
set -euo pipefail
qf=$1
data=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$("$qf" --dump "$data/basic.qfd")
grep -q $'^\t\t\t2\tﾍｯﾀﾞｰ部$' <<<"$out" || fail "dump lacks the layer row"
grep -q $'^7\tﾘﾝｸﾞ\t印\t150.000\t130.000\t170.000\t140.000\t色２' <<<"$out" || fail "dump lacks the ring"
[ "$(grep -c . <<<"$out")" -eq 14 ] || fail "dump has $(grep -c . <<<"$out") lines"

"$qf" --resave "$data/basic.qfd" "$tmp/a.qfd"
"$qf" --resave "$tmp/a.qfd" "$tmp/b.qfd"
cmp "$tmp/a.qfd" "$tmp/b.qfd" || fail "resave changed a file the program wrote"
head -c 14 "$tmp/a.qfd" | cmp - <(printf 'VERSION 2.05\r\n') || fail "version line"

if "$qf" --dump "$tmp/missing.qfd" 2>"$tmp/err"; then fail "missing file loaded"; fi
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "error is not one line: $(cat "$tmp/err")"
grep -q 'missing.qfd' "$tmp/err" || fail "error does not name the file"
if "$qf" --resave "$data/basic.qfd" "$tmp/no/such/dir/x.qfd" 2>"$tmp/err"; then fail "saved nowhere"; fi
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "save error is not one line"
"$qf" --source "$data/golden.qfd" | cmp - "$data/golden_sub_private.bas" || fail "--source differs"
"$qf" --source "$data/golden.qfd" --flat --public | cmp - "$data/golden_flat_public.bas" \
  || fail "--source --flat --public differs"
"$qf" --source "$data/golden.qfd" --lang csharp | cmp - "$data/golden.cs" || fail "--lang csharp differs"
"$qf" --source "$data/golden.qfd" --lang vb6 | cmp - "$data/golden_sub_private.bas" ||
  fail "--lang vb6 differs"
"$qf" --source "$data/golden.qfd" --lang csharp --class 請求書印刷 >"$tmp/named.cs"
grep -q '^public static class 請求書印刷' "$tmp/named.cs" || fail "--class does not name the class"
for enc in cp932 CP932 shift-jis; do
  "$qf" --source "$data/golden.qfd" --encoding "$enc" | iconv -f CP932 -t UTF-8 \
    | cmp - "$data/golden_sub_private.bas" || fail "--encoding $enc differs"
done
for enc in utf-8 UTF-8 utf8; do
  "$qf" --source "$data/golden.qfd" --encoding "$enc" | cmp - "$data/golden_sub_private.bas" \
    || fail "--encoding $enc differs"
done
# A design file as the only argument starts the editor (it quits after showing the page), not a
# subcommand; it leaves no settings file that was not there.
ini="$(dirname "$qf")/QF2.INI"
had_ini=0; [ -e "$ini" ] && had_ini=1
QT_QPA_PLATFORM=offscreen timeout 60 "$qf" --quit-when-shown "$data/golden.qfd" >/dev/null 2>&1 ||
  fail "the editor did not start with a design"
rc=0; QT_QPA_PLATFORM=offscreen timeout 3 "$qf" "$data/golden.qfd" >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 124 ] || fail "quillform FILE did not stay open as the editor (exit $rc)"
[ "$had_ini" -eq 1 ] || rm -f "$ini"

# Options without their values, or values not understood, are usage errors (exit 2), not a crash.
for args in "--source $data/golden.qfd --encoding latin1" "--source --bogus" "--print $data/golden.qfd -o" \
            "--source $data/golden.qfd --lang basic" "--source $data/golden.qfd --lang" \
            "--source $data/golden.qfd --lang csharp --class 1x" "--source $data/golden.qfd --class class" \
            "--export $data/golden.qfd -o $tmp/x.pdf --data" "--export $data/golden.qfd -o $tmp/x.pdf --pages" \
            "--export $data/golden.qfd -o" "--export $data/golden.qfd -o $tmp/x.pdf --dpi" \
            "--print --bogus -o $tmp/x.pdf"; do
  rc=0; "$qf" $args >/dev/null 2>&1 || rc=$?
  [ "$rc" -eq 2 ] || fail "quillform $args exited $rc, not 2"
done
if "$qf" --source 2>/dev/null; then fail "--source without a file accepted"; fi
"$qf" --render "$data/golden.qfd" -o "$tmp/page.png"
file "$tmp/page.png" | grep -q '1123 x 793' || fail "render size: $(file "$tmp/page.png")"
"$qf" --render "$data/golden.qfd" -o "$tmp/half.png" --zoom 50 --no-grid
file "$tmp/half.png" | grep -q '561 x 397' || fail "render at 50 %: $(file "$tmp/half.png")"
"$qf" --render "$data/golden.qfd" -o "$tmp/tiny.png" --zoom 0  # clamped, not a crash
if "$qf" --render "$data/golden.qfd" 2>/dev/null; then fail "--render without -o accepted"; fi

"$qf" --print "$data/golden.qfd" -o "$tmp/out.pdf"
pdfinfo "$tmp/out.pdf" | grep -q '^Pages: *1$' || fail "PDF is not one page"
pdfinfo "$tmp/out.pdf" | grep -q '842 x 595 pts (A4)' || fail "PDF is not A4 landscape"
pdftotext "$tmp/out.pdf" - | grep -q '請求書' || fail "PDF lacks the Japanese title"
pdftotext "$tmp/out.pdf" - | grep -q '2026/12/07' || fail "PDF lacks the date"
# A PDF's text reads back as the characters of the design, not as Kangxi radicals (U+2F00-2FDF).
"$qf" --print "$data/kanji.qfd" -o "$tmp/kanji.pdf"
for word in '1月' '金額' '日本' '一二' '見る'; do
  pdftotext "$tmp/kanji.pdf" - | grep -q "$word" || fail "PDF text lacks $word"
done
if pdftotext "$tmp/kanji.pdf" - | grep -q $'\xe2\xbc\|\xe2\xbd\|\xe2\xbe\|\xe2\xbf'; then
  fail "PDF text holds Kangxi radicals"
fi
# Signs that share a glyph with another character in the font read back as themselves, from
# texts and from merged data alike; the yen byte of the file reads as ¥.
{ printf 'VERSION 2.05\r\n9,1,6,15,10,10,10,-1,5,5\r\n1Layer\r\n1,b\r\nDizaColor\r\n1\r\n2\r\n3\r\n4\r\n5\r\n3\r\n'
  printf '1,"",10,10,0,0,"\\1.000 ￥ ～ ￠ ￡ ￢ 表 ソ","","ＭＳ ゴシック",12,0,0,0,0,0,0,1\r\n'
  printf '1,"",10,30,0,0,"￢￡￠～￥ 表","","ＭＳ 明朝",12,-1,0,0,-1,0,0,1\r\n'
  printf '1,"",10,50,0,0,"x","rs!備考","ＭＳ Ｐゴシック",12,0,0,0,0,0,0,1\r\n'; } |
  iconv -f UTF-8 -t CP932 >"$tmp/signs.qfd"
printf '備考\n￥500～￠￡￢ ¥ 〜\n' >"$tmp/signs.csv"
"$qf" --print "$tmp/signs.qfd" --data "$tmp/signs.csv" -o "$tmp/signs.pdf"
pdftotext "$tmp/signs.pdf" - | grep -v '^\s*$' >"$tmp/signs.txt"
printf '%s\n' '¥1.000 ￥ ～ ￠ ￡ ￢ 表 ソ' '￢￡￠～￥ 表' '￥500～￠￡￢ ¥ 〜' | cmp - "$tmp/signs.txt" ||
  fail "PDF text of shared glyphs: $(cat "$tmp/signs.txt")"
if "$qf" --print "$data/golden.qfd" -P NoSuchQueue 2>"$tmp/err"; then fail "printed nowhere"; fi
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "print error is not one line: $(cat "$tmp/err")"

# Exports: the page as printing draws it. A PNG's size follows the dpi; a PDF is what --print -o
# writes; a folder that does not exist leaves nothing and says which file and why.
for dpi in 96:1123x793 150:1754x1240 300:3508x2479 600:7017x4958; do
  "$qf" --export "$data/golden.qfd" -o "$tmp/page${dpi%%:*}.png" --dpi "${dpi%%:*}"
  file "$tmp/page${dpi%%:*}.png" | tr -d ' ' | grep -q "${dpi#*:}" \
    || fail "PNG at ${dpi%%:*} dpi: $(file "$tmp/page${dpi%%:*}.png")"
done
"$qf" --export "$data/golden.qfd" -o "$tmp/export.pdf"
pdfinfo "$tmp/export.pdf" | grep -q '842 x 595 pts (A4)' || fail "exported PDF is not A4 landscape"
pdftotext "$tmp/export.pdf" - | grep -q '請求書' || fail "exported PDF lacks the title"
# A design cut off in the middle: --dump and --source show its whole rows and say how many, the
# others write nothing; every one exits 3. Files that hold no design are refused (exit 1).
head -c 300 "$data/golden.qfd" >"$tmp/cut.qfd"
rc=0; "$qf" --dump "$tmp/cut.qfd" >"$tmp/cut.txt" 2>"$tmp/err" || rc=$?
[ "$rc" -eq 3 ] || fail "--dump of a cut-off file exited $rc"
grep -qx 'quillform: 「.*cut.qfd」：ファイルが途中で切れています。14 個のオブジェクトのうち 2 個を読み込みました。' "$tmp/err" ||
  fail "cut-off warning: $(cat "$tmp/err")"
[ "$(grep -c "^[0-9]" "$tmp/cut.txt")" -eq 2 ] || fail "cut-off file dump: $(cat "$tmp/cut.txt")"
rc=0; "$qf" --source "$tmp/cut.qfd" >"$tmp/cut.bas" 2>/dev/null || rc=$?
[ "$rc" -eq 3 ] && grep -q F_DataPrint "$tmp/cut.bas" || fail "--source of a cut-off file exited $rc"
head -c 100 "$data/golden.qfd" >"$tmp/head.qfd"
for cmd in "--resave CUT $tmp/re.qfd" "--export CUT -o $tmp/cut.pdf" "--export CUT -o $tmp/cut.png" \
           "--print CUT -o $tmp/cutp.pdf" "--render CUT -o $tmp/cutr.png"; do
  for cut in "$tmp/cut.qfd" "$tmp/head.qfd"; do
    rc=0; "$qf" ${cmd/CUT/$cut} >/dev/null 2>"$tmp/err" || rc=$?
    [ "$rc" -eq 3 ] || fail "quillform ${cmd/CUT/$cut} exited $rc"
    [ "$(wc -l <"$tmp/err")" -eq 1 ] && grep -q 'からは何も出力しません：ファイルが途中で切れています' "$tmp/err" ||
      fail "${cmd/CUT/$cut}: $(cat "$tmp/err")"
  done
done
[ -z "$(ls "$tmp" | grep -E '^(re.qfd|cut.pdf|cut.png|cutp.pdf|cutr.png)$')" ] || fail "a cut-off design was written"
: >"$tmp/empty.qfd"
head -c 3000 /dev/urandom >"$tmp/random.qfd"
printf '1,2,3\r\n' >"$tmp/noversion.qfd"
for f in empty random noversion; do
  rc=0; "$qf" --dump "$tmp/$f.qfd" >/dev/null 2>"$tmp/err" || rc=$?
  [ "$rc" -eq 1 ] && [ "$(wc -l <"$tmp/err")" -eq 1 ] && grep -q "「.*$f.qfd」を読み込めません：" "$tmp/err" ||
    fail "$f.qfd: exit $rc, $(cat "$tmp/err")"
done
# Messages are one Japanese line: the file and the reason, no error numbers.
! grep -q '(error\|cannot' "$tmp/err" || fail "message in two languages: $(cat "$tmp/err")"
"$qf" --help | grep -q '^exit status: 0 done, 1 failed, 2 usage error, 3 the design file is cut off' ||
  fail "--help does not list the exit statuses"
version=$("$qf" --version) || fail "--version did not exit 0"
grep -q '^Quillform ' <<<"$version" || fail "--version says: $version"

# Data merge: one page per invoice, the third split where its block's ten passes are used up.
"$qf" --print "$data/invoice.qfd" --data "$data/csv/invoices.csv" --group 請求書番号 -o "$tmp/merged.pdf"
pdfinfo "$tmp/merged.pdf" | grep -q '^Pages: *4$' || fail "merged PDF is not 4 pages"
pdftotext -f 2 -l 2 "$tmp/merged.pdf" - | tr -d ' ' >"$tmp/p2"
grep -q '鈴木"工房"' "$tmp/p2" && grep -q '品目02' "$tmp/p2" && ! grep -q '品目03' "$tmp/p2" ||
  fail "merged page 2: $(cat "$tmp/p2")"
"$qf" --export "$data/invoice.qfd" --data "$data/csv/invoices.csv" -o "$tmp/merged2.pdf"
pdfinfo "$tmp/merged2.pdf" | grep -q '^Pages: *2$' || fail "merged without a group is not 2 pages"
"$qf" --export "$data/invoice.qfd" --data "$data/csv/invoices.csv" --group 請求書番号 --pages 2-3 -o "$tmp/range.pdf"
pdfinfo "$tmp/range.pdf" | grep -q '^Pages: *2$' || fail "pages 2-3 are not 2 pages"
pdftotext -f 1 -l 1 "$tmp/range.pdf" - | grep -q 'INV-002' || fail "pages 2-3 do not start with the second invoice"
# Images are a file a page, unless the range is one page.
"$qf" --export "$data/invoice.qfd" --data "$data/csv/invoices.csv" --group 請求書番号 --pages 3- -o "$tmp/last.png"
[ -s "$tmp/last-0003.png" ] && [ -s "$tmp/last-0004.png" ] && [ ! -e "$tmp/last.png" ] &&
  [ ! -e "$tmp/last-0002.png" ] || fail "merged PNG pages: $(ls "$tmp")"
"$qf" --export "$data/invoice.qfd" --data "$data/csv/invoices.csv" --group 請求書番号 --pages 2 -o "$tmp/two.svg"
grep -q '鈴木&quot;工房&quot;\|鈴木"工房"' "$tmp/two.svg" || fail "merged SVG page 2 lacks its customer"
for bad in 0 3-2 x; do
  if "$qf" --export "$data/invoice.qfd" --data "$data/csv/invoices.csv" --pages "$bad" -o "$tmp/r.pdf" 2>/dev/null; then
    fail "--pages $bad was accepted"
  fi
done
if "$qf" --export "$data/invoice.qfd" --data "$data/csv/invoices.csv" --group 請求書番号 --pages 9 -o "$tmp/r.pdf" 2>"$tmp/err"; then
  fail "a page past the last was printed"
fi
grep -q '差し込みのページは 4 ページまでです' "$tmp/err" || fail "past the last page: $(cat "$tmp/err")"
printf '請求書番号,顧客名\n1,a\n2,"b\n' >"$tmp/bad.csv"
if "$qf" --export "$data/invoice.qfd" --data "$tmp/bad.csv" -o "$tmp/bad.pdf" 2>"$tmp/err"; then
  fail "a merge of bad data succeeded"
fi
grep -qx 'quillform: 「.*bad.pdf」に出力できません：「.*bad.csv」の 3 行目：引用符 " が閉じられていません' "$tmp/err" ||
  fail "merge error: $(cat "$tmp/err")"
[ ! -e "$tmp/bad.pdf" ] || fail "a failed merge left a file"
if "$qf" --print "$data/invoice.qfd" --data "$data/csv/invoices.csv" --group 無い -o "$tmp/g.pdf" 2>"$tmp/err"; then
  fail "an unknown group column was accepted"
fi
grep -q '列「無い」がありません' "$tmp/err" || fail "group error: $(cat "$tmp/err")"
"$qf" --export "$data/golden.qfd" -o "$tmp/grid.svg" --grid
[ "$(grep -c '<polyline' "$tmp/grid.svg")" -gt 100 ] || fail "--grid drew no grid"
"$qf" --export "$data/golden.qfd" -o "$tmp/export.svg"
python3 -c '
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.get("viewBox") == "0 0 842 595", root.get("viewBox")
texts = [t.text for t in root.iter("{http://www.w3.org/2000/svg}text")]
assert "請求書" in texts, texts
' "$tmp/export.svg" || fail "exported SVG"
# A viewer without the Windows fonts draws the SVG's texts in the faces the program uses (rsvg
# embeds the fonts it drew with when it writes a PDF), never in a Latin fallback.
if command -v rsvg-convert >/dev/null; then
  "$qf" --export "$data/kanji.qfd" -o "$tmp/kanji.svg"
  rsvg-convert -f pdf -o "$tmp/rsvg.pdf" "$tmp/kanji.svg"
  fonts=$(pdffonts "$tmp/rsvg.pdf" | tail -n +3 | awk '{print $1}' | sed 's/^[A-Z]*+//' | sort -u)
  grep -q '^IPA' <<<"$fonts" && ! grep -qv '^IPA\|^Noto\|^CairoFont' <<<"$fonts" ||
    fail "rsvg drew the SVG with: $fonts"
fi
if "$qf" --export "$data/golden.qfd" -o "$tmp/none/x.pdf" 2>"$tmp/err"; then
  fail "exported into a folder that does not exist"
fi
grep -q 'none/x.pdf」に出力できません：フォルダがありません' "$tmp/err" || fail "export error: $(cat "$tmp/err")"
[ -z "$(ls -A "$tmp" | grep '^\.')" ] || fail "an export left a temporary file"
if "$qf" --export "$data/golden.qfd" -o "$tmp/x.svgz" 2>/dev/null; then fail "unknown format accepted"; fi

# A program of the printing language, in CP932, run with records: what it prints is the PDF; a
# program that stops says its line.
printf 'Sub F_DataPrint()\r\n  Printer.ScaleMode = vbMillimeters\r\n  Printer.CurrentX = 20: Printer.CurrentY = 20\r\n  Printer.Print Format(rs!金額, "#,##0円") & " " & rs!姓 & rs!名;\r\n  Printer.EndDoc\r\nEnd Sub\r\n' |
  iconv -f UTF-8 -t CP932 >"$tmp/p.bas"
printf '金額,姓,名\n1234567,山田,太郎\n' >"$tmp/p.csv"
"$qf" --run-source "$tmp/p.bas" --data "$tmp/p.csv" -o "$tmp/p.pdf"
pdftotext "$tmp/p.pdf" - | grep -q '1,234,567円 山田太郎' || fail "run source: $(pdftotext "$tmp/p.pdf" -)"
printf 'Sub F_DataPrint()\n  Printer.Print 1\n  Printer.Print rs!無い\nEnd Sub\n' >"$tmp/q.bas"
rc=0; "$qf" --run-source "$tmp/q.bas" --data "$tmp/p.csv" -o "$tmp/q.png" 2>"$tmp/err" || rc=$?
[ "$rc" -eq 1 ] && grep -qx 'quillform: 「.*q.png」に出力できません：「.*q.bas」の 3 行目 3 文字目（F_DataPrint）：列「無い」がありません' "$tmp/err" &&
  [ ! -e "$tmp/q.png" ] || fail "run source error: exit $rc, $(cat "$tmp/err")"

# Printing routines as programmers write them: an error handler that resumes, records of a Type.
"$qf" --run-source "$data/handlers.bas" -o "$tmp/h.pdf"
[ "$(pdftotext "$tmp/h.pdf" - | grep -v '^[[:space:]]*$' | tr '\n' '|')" = \
  'start|error 6: オーバーフローしました / オーバーフローしました|after overflow 0|error 11: 0 で除算しました / 0 で除算しました|Err now 0|error 1001: 伝票番号がありません / 伝票番号がありません|source slip|done 0|' ] ||
  fail "handlers: $(pdftotext "$tmp/h.pdf" -)"
"$qf" --run-source "$data/types.bas" -o "$tmp/t.pdf"
[ "$(pdftotext "$tmp/t.pdf" - | grep -v '^[[:space:]]*$' | tr '\n' '|')" = \
  '101 山田商店 大阪 1200|101 鈴木工房 京都 1200|103 佐藤 神戸 0|山田商店 大阪|' ] ||
  fail "types: $(pdftotext "$tmp/t.pdf" -)"
[ "$(pdfinfo "$tmp/t.pdf" | awk '/^Pages:/{print $2}')" = 1 ] || fail "types: pages"

# Runs as a user meets them: a program that prints nothing says so; images a page each; the
# messages on standard error; Western sources in Windows-1252 read as they were written, a
# byte nothing reads named by its line; a procedure left open named where it began.
printf 'Sub F_DataPrint()\nDebug.Print "nothing"\nEnd Sub\n' >"$tmp/e.bas"
rc=0; "$qf" --run-source "$tmp/e.bas" -o "$tmp/e.pdf" 2>"$tmp/err" || rc=$?
[ "$rc" -eq 1 ] && [ "$(cat "$tmp/err")" = "nothing
quillform: 「$tmp/e.pdf」に出力できません：印刷されたページがありません" ] && [ ! -e "$tmp/e.pdf" ] ||
  fail "no pages: exit $rc, $(cat "$tmp/err")"
printf 'Sub F_DataPrint()\nPrinter.Print "R\xe9sum\xe9 caf\xe9"\nPrinter.NewPage\nPrinter.Print "2"\nEnd Sub\n' >"$tmp/w.bas"
"$qf" --run-source "$tmp/w.bas" -o "$tmp/w.png" >"$tmp/out"
[ -s "$tmp/w-1.png" ] && [ -s "$tmp/w-2.png" ] && [ ! -e "$tmp/w.png" ] && [ ! -e "$tmp/w-3.png" ] &&
  grep -q '^2 ページを「.*w-1.png」から「.*w-2.png」まで書き出しました$' "$tmp/out" ||
  fail "pages as images: $(ls "$tmp"; cat "$tmp/out")"
"$qf" --run-source "$tmp/w.bas" -o "$tmp/w.pdf"
pdftotext -l 1 "$tmp/w.pdf" - | grep -q 'Résumé café' || fail "windows-1252: $(pdftotext "$tmp/w.pdf" -)"
rc=0; "$qf" --run-source "$tmp/w.bas" --encoding cp932 -o "$tmp/w.pdf" 2>"$tmp/err" || rc=$?
[ "$rc" -eq 1 ] && grep -q '2 行目にシフトJIS\|2 行目に シフトJIS' "$tmp/err" || fail "forced cp932: $(cat "$tmp/err")"
printf "Sub F_DataPrint()\n' \x81\nEnd Sub\n" >"$tmp/b.bas"
rc=0; "$qf" --run-source "$tmp/b.bas" -o "$tmp/b.pdf" 2>"$tmp/err" || rc=$?
[ "$rc" -eq 1 ] && grep -q '2 行目に UTF-8、シフトJIS(コードページ932)、Windows-1252 のどれでも読めないバイトがあります' "$tmp/err" ||
  fail "unreadable byte: $(cat "$tmp/err")"
printf 'Sub Helper()\nEnd Sub\n\nSub F_DataPrint()\n  Printer.Print 1\n' >"$tmp/o.bas"
rc=0; "$qf" --run-source "$tmp/o.bas" -o "$tmp/o.pdf" 2>"$tmp/err" || rc=$?
grep -q '「.*o.bas」の 4 行目：End Sub がありません（「F_DataPrint」はこの行で始まり' "$tmp/err" ||
  fail "open procedure: $(cat "$tmp/err")"

# Printing routines written as VB6 programmers write them (error handlers, With rs … !field,
# headers after NewPage, right-aligned columns, a label sheet in twips from a class, Japanese
# sources in Shift-JIS): each prints its pages, read back with pdftotext and pdfinfo.
programs="$data/programs"
# A barcode its symbology cannot carry stops --export and --print: exit 1, one line naming the
# row and why, no file; in a merge, the record and the field.
sed 's/"4901234567894"/"49012345678X"/' "$data/barcodes.qfd" >"$tmp/badbar.qfd"
for command in --export --print; do
  rc=0
  "$qf" "$command" "$tmp/badbar.qfd" -o "$tmp/badbar.pdf" 2>"$tmp/err" || rc=$?
  [ "$rc" -eq 1 ] || fail "$command of a bad barcode exited $rc"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "$command: not one line: $(cat "$tmp/err")"
  grep -q '行 1 のバーコード: JAN には数字しか使えません' "$tmp/err" || fail "$command: $(cat "$tmp/err")"
  [ ! -e "$tmp/badbar.pdf" ] || fail "$command wrote a file"
done
printf '品番\nA-001\n請求\nC-003\n' >"$tmp/items.csv"
rc=0
"$qf" --export "$data/barcodes.qfd" -o "$tmp/items.pdf" --data "$tmp/items.csv" 2>"$tmp/err" || rc=$?
[ "$rc" -eq 1 ] || fail "a merge with a bad barcode value exited $rc"
grep -q 'レコード 2 の「rs!品番」: このバーコードに使えない文字があります' "$tmp/err" ||
  fail "merge: $(cat "$tmp/err")"
[ ! -e "$tmp/items.pdf" ] || fail "a merge with a bad barcode value wrote a file"
"$qf" --export "$data/barcodes.qfd" -o "$tmp/good.pdf" || fail "the barcodes' form does not print"

run_program() {  # NAME PAGES "TEXT|TEXT…" FILES… [--data CSV]
  local name=$1 pages=$2 texts=$3
  shift 3
  (cd "$programs" && "$qf" --run-source "$@" --now "2024-05-17 10:30" -o "$tmp/$name.pdf" \
    2>"$tmp/$name.err") || fail "$name: $(cat "$tmp/$name.err")"
  [ "$(pdfinfo "$tmp/$name.pdf" | awk '/^Pages:/{print $2}')" = "$pages" ] || fail "$name: pages"
  pdftotext -layout "$tmp/$name.pdf" "$tmp/$name.txt"
  local text
  IFS='|' read -ra wanted <<<"$texts"
  for text in "${wanted[@]}"; do
    grep -qF -- "$text" "$tmp/$name.txt" || fail "$name: no \"$text\" in $(cat "$tmp/$name.txt")"
  done
}
run_program payslip 3 '給与明細 2024年5月|佐藤一郎 様|¥223,000|-¥61,230' payslip.bas --data payslip.csv
run_program report 3 'Page 3/3|060          Item 60|Total 2,287,500' report.bas
run_program labels 2 '〒530-0001|大阪府大阪市北区梅田12-13-14|松本大輔 様' labels.bas label.cls --data labels.csv
grep -qx 'labels: 12' "$tmp/labels.err" || fail "labels: $(cat "$tmp/labels.err")"
run_program bank_slip 1 '振込依頼書|1   2   3   4   5   0   0|令和6年5月17日|受付' bank_slip.bas
run_program delivery 2 '納品日 令和6年5月17日|[A075   ] スパナ 10mm|合計 ¥118,140' delivery.bas --data delivery.csv
run_program goods_tags 1 'ボールペン 黒 ０|[4909876543] 18B|消しゴム|380円' goods_tags.bas tag.cls
run_program consumption 2 '消費量報告     2024 年|2024/12|作成 2024/5/17' consumption.bas
run_program resume_errors 1 'Invoice Arial|Average 16.67|Errors 2 / last 11|Summary printed' resume_errors.bas
[ "$(cat "$tmp/resume_errors.err")" = 'skipped x: 13
skipped : 13
MsgBox：Print the summary?' ] || fail "resume_errors: $(cat "$tmp/resume_errors.err")"
run_program jobs 6 'Job 1 page 2|Job 2 page 3|Printed after KillDoc on PDF x2' jobs.bas
! grep -q Cancelled "$tmp/jobs.txt" || fail "jobs: a page KillDoc dropped was printed"
(cd "$programs" && "$qf" --run-source jobs.bas -o "$tmp/jobs.png" 2>"$tmp/jobs.err") &&
  [ -f "$tmp/jobs-6.png" ] && [ ! -f "$tmp/jobs-7.png" ] || fail "jobs: images $(cat "$tmp/jobs.err")"
run_program order_sheet 1 'Order No. 1042 (4 lines)|[P-014X]          4         2,501.00|Note: Deliver by noon|Discount: none|Total after discount 31,512.60' order_sheet.bas
run_program parts 1 '1. Bolt|5. Bearing|3,200.25|rows 5, printed 5' parts.bas --data parts.csv

# A database source: the merge of its table is the CSV file's; without a query the tables are
# listed (a usage error); a query that writes is refused with nothing written.
iconv -f CP932 -t UTF-8 "$data/csv/invoices.csv" | tail -n +2 >"$tmp/invoices.utf8"
sqlite3 "$tmp/請求.db" "CREATE TABLE 請求 (請求書番号, 顧客名, 品名, 金額);" \
  ".import --csv $tmp/invoices.utf8 請求"
"$qf" --export "$data/invoice.qfd" --data "sqlite:$tmp/請求.db" --table 請求 --group 請求書番号 \
  -o "$tmp/db.pdf" || fail "merge from SQLite failed"
[ "$(pdftotext "$tmp/db.pdf" - | md5sum)" = "$(pdftotext "$tmp/merged.pdf" - | md5sum)" ] ||
  fail "the SQLite merge differs from the CSV file's"
set +e
"$qf" --export "$data/invoice.qfd" --data "sqlite:$tmp/請求.db" -o "$tmp/none.pdf" 2>"$tmp/err"
rc=$?
set -e
[ "$rc" -eq 2 ] && grep -q 'テーブル：請求' "$tmp/err" || fail "no query: exit $rc, $(head -1 "$tmp/err")"
if "$qf" --export "$data/invoice.qfd" --data "sqlite:$tmp/請求.db" --query "DELETE FROM 請求" \
  -o "$tmp/none.pdf" 2>"$tmp/err"; then
  fail "a DELETE was run"
fi
[ ! -e "$tmp/none.pdf" ] && [ "$(sqlite3 "$tmp/請求.db" "SELECT count(*) FROM 請求")" = 17 ] ||
  fail "a refused query wrote something"

if "$qf" --bogus 2>/dev/null; then fail "unknown option accepted"; fi
echo "cli: all checks passed"

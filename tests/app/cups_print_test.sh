#!/usr/bin/env bash
# Prints through a CUPS queue, as the print button does, and finds the pages that arrive: a
# design's one page, and a merged run with as many pages as `--print -o` writes for it. test.sh
# sets up the queue (QF_CUPS_QUEUE) and where cups-pdf writes (QF_CUPS_OUT).
set -euo pipefail
qf=$1
design=$2
data=$(dirname "$design")
if [ -z "${QF_CUPS_QUEUE:-}" ] || [ -z "${QF_CUPS_OUT:-}" ]; then
  echo "no CUPS queue set up; skipped"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
count_pdfs() { find "$QF_CUPS_OUT" -maxdepth 1 -name '*.pdf' | wc -l; }

# Prints with the arguments given and says how many pages arrived.
pages_through_queue() {
  local before pdf
  before=$(count_pdfs)
  "$qf" --print "$@" -P "$QF_CUPS_QUEUE"
  for _ in $(seq 1 120); do
    [ "$(count_pdfs)" -gt "$before" ] && break
    sleep 0.5
  done
  if [ "$(count_pdfs)" -le "$before" ]; then
    echo "FAIL: no PDF arrived in $QF_CUPS_OUT from the queue" >&2
    exit 1
  fi
  pdf=$(find "$QF_CUPS_OUT" -maxdepth 1 -name '*.pdf' -printf '%T@ %p\n' | sort -n | tail -n 1 | cut -d' ' -f2-)
  # cups-pdf may still be writing it.
  for _ in $(seq 1 40); do pdfinfo "$pdf" >/dev/null 2>&1 && break; sleep 0.25; done
  pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}'
}

pages=$(pages_through_queue "$design")
[ "$pages" = "1" ] || { echo "FAIL: the design arrived as ${pages:-no} pages" >&2; exit 1; }

merged=("$data/invoice.qfd" --data "$data/csv/invoices.csv" --group 請求書番号)
"$qf" --print "${merged[@]}" -o "$tmp/direct.pdf"
direct=$(pdfinfo "$tmp/direct.pdf" | awk '/^Pages:/ {print $2}')
pages=$(pages_through_queue "${merged[@]}")
[ "$pages" = "$direct" ] && [ "$direct" -gt 1 ] ||
  { echo "FAIL: ${pages:-no} merged pages arrived, --print -o wrote $direct" >&2; exit 1; }
echo "cups: the design's page and $pages merged pages arrived"

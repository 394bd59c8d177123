#!/usr/bin/env bash
# Prints a design through a CUPS queue, as the print button does, and finds the page that
# arrives. test.sh sets up the queue (QF_CUPS_QUEUE) and where cups-pdf writes (QF_CUPS_OUT).
set -euo pipefail
qf=$1
design=$2
if [ -z "${QF_CUPS_QUEUE:-}" ] || [ -z "${QF_CUPS_OUT:-}" ]; then
  echo "no CUPS queue set up; skipped"
  exit 77
fi
count_pdfs() { find "$QF_CUPS_OUT" -maxdepth 1 -name '*.pdf' | wc -l; }
before=$(count_pdfs)
"$qf" --print "$design" -P "$QF_CUPS_QUEUE"
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
pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
[ "$pages" = "1" ] || { echo "FAIL: $pdf has ${pages:-no} pages" >&2; exit 1; }
echo "cups: one page arrived in $pdf"

# A print queue backed by cups-pdf, so a test can print through CUPS as a user's print button
# does. Sourced by test.sh; needs root. Sets QF_CUPS_QUEUE and QF_CUPS_OUT for the tests, and
# stops at exit the cupsd it started.

QF_CUPS_STARTED_PID=""

qf_stop_cups() {
  if [ -n "$QF_CUPS_STARTED_PID" ]; then
    kill "$QF_CUPS_STARTED_PID" 2>/dev/null || true
    QF_CUPS_STARTED_PID=""
  fi
}

qf_setup_cups() {
  local out=$1
  if [ "$(id -u)" -ne 0 ] || [ ! -x /usr/sbin/cupsd ] || [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
    echo "CUPS print test skipped: needs root, cups and printer-driver-cups-pdf"
    return 0
  fi
  mkdir -p "$out"
  chmod 0755 "$out"
  # cups-pdf writes where "Out" points; make it the folder of this test run.
  sed -i "s|^Out .*|Out $out|" /etc/cups/cups-pdf.conf
  if ! lpstat -r 2>/dev/null | grep -q 'scheduler is running'; then
    /usr/sbin/cupsd
    for _ in $(seq 1 50); do
      lpstat -r 2>/dev/null | grep -q 'scheduler is running' && break
      sleep 0.2
    done
    QF_CUPS_STARTED_PID=$(pgrep -xn cupsd || true)
    trap qf_stop_cups EXIT
  fi
  local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  if ! lpadmin -p QuillformPDF -E -v cups-pdf:/ -P "$ppd" 2>/dev/null; then
    echo "CUPS print test skipped: the queue could not be added"
    return 0
  fi
  export QF_CUPS_QUEUE=QuillformPDF
  export QF_CUPS_OUT=$out
}

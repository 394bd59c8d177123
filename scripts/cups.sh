# A print queue backed by cups-pdf, so a test can print through CUPS as a user's print button
# does. Sourced by test.sh; needs root. Sets QF_CUPS_QUEUE and QF_CUPS_OUT for the tests. At exit
# the machine is left as it was: the queue removed, cups-pdf's settings put back, and the cupsd
# it started stopped.

QF_CUPS_STARTED_PID=""
QF_CUPS_CONF_SAVED=""
QF_CUPS_QUEUE_ADDED=0

qf_stop_cups() {
  if [ "$QF_CUPS_QUEUE_ADDED" -eq 1 ]; then
    lpadmin -x QuillformPDF 2>/dev/null || true
    QF_CUPS_QUEUE_ADDED=0
  fi
  if [ -n "$QF_CUPS_CONF_SAVED" ]; then
    cat "$QF_CUPS_CONF_SAVED" >/etc/cups/cups-pdf.conf 2>/dev/null || true
    rm -f "$QF_CUPS_CONF_SAVED"
    QF_CUPS_CONF_SAVED=""
  fi
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
  QF_CUPS_CONF_SAVED=$(mktemp)
  cp /etc/cups/cups-pdf.conf "$QF_CUPS_CONF_SAVED"
  sed -i "s|^Out .*|Out $out|" /etc/cups/cups-pdf.conf
  if ! lpstat -r 2>/dev/null | grep -q 'scheduler is running'; then
    /usr/sbin/cupsd
    for _ in $(seq 1 50); do
      lpstat -r 2>/dev/null | grep -q 'scheduler is running' && break
      sleep 0.2
    done
    QF_CUPS_STARTED_PID=$(pgrep -xn cupsd || true)
  fi
  local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  if ! lpadmin -p QuillformPDF -E -v cups-pdf:/ -P "$ppd" 2>/dev/null; then
    echo "CUPS print test skipped: the queue could not be added"
    return 0
  fi
  QF_CUPS_QUEUE_ADDED=1
  export QF_CUPS_QUEUE=QuillformPDF
  export QF_CUPS_OUT=$out
}

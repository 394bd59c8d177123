# A PostgreSQL server of the test run's own: a cluster in a temporary folder, run as an
# unprivileged user when the tests run as root, loaded with the invoice records the CSV tests
# read. Sourced by test.sh. Sets QF_TEST_POSTGRES (the data source) and QF_TEST_PGPASSWORD for
# the tests; qf_stop_postgres stops the server and removes the cluster.

QF_PG_DIR=""
QF_PG_BIN=""
QF_PG_AS=()

qf_stop_postgres() {
  if [ -n "$QF_PG_DIR" ]; then
    "${QF_PG_AS[@]}" "$QF_PG_BIN/pg_ctl" -D "$QF_PG_DIR/data" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$QF_PG_DIR"
    QF_PG_DIR=""
  fi
}

qf_setup_postgres() {
  local schema=$1 records=$2
  QF_PG_BIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  if [ -z "$QF_PG_BIN" ] || [ ! -x "$QF_PG_BIN/pg_ctl" ]; then
    echo "PostgreSQL tests skipped: no server installed"
    return 0
  fi
  QF_PG_DIR=$(mktemp -d /tmp/qf-postgres.XXXXXX)
  chmod 0755 "$QF_PG_DIR"
  if [ "$(id -u)" -eq 0 ]; then
    # The server refuses to run as root.
    chown nobody "$QF_PG_DIR"
    QF_PG_AS=(runuser -u nobody --)
  fi
  local password="qf-$RANDOM$RANDOM$RANDOM"
  printf '%s\n' "$password" >"$QF_PG_DIR/password"
  chmod 0644 "$QF_PG_DIR/password"
  "${QF_PG_AS[@]}" "$QF_PG_BIN/initdb" -D "$QF_PG_DIR/data" -U qf --pwfile="$QF_PG_DIR/password" \
    --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$QF_PG_DIR/initdb.log" 2>&1 || {
    echo "PostgreSQL tests skipped: initdb failed"; cat "$QF_PG_DIR/initdb.log"; qf_stop_postgres; return 0; }
  local port
  for _ in 1 2 3 4 5; do
    port=$((40000 + RANDOM % 20000))
    if "${QF_PG_AS[@]}" "$QF_PG_BIN/pg_ctl" -D "$QF_PG_DIR/data" -l "$QF_PG_DIR/server.log" -w \
      -o "-p $port -k $QF_PG_DIR -c listen_addresses=127.0.0.1" start >/dev/null 2>&1; then
      break
    fi
    port=""
  done
  if [ -z "$port" ]; then
    echo "PostgreSQL tests skipped: the server did not start"
    cat "$QF_PG_DIR/server.log" 2>/dev/null
    qf_stop_postgres
    return 0
  fi
  local psql=(env PGPASSWORD="$password" psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U qf)
  "${psql[@]}" -d postgres -c "CREATE DATABASE quillform"
  "${psql[@]}" -d quillform -f "$schema"
  iconv -f CP932 -t UTF-8 "$records" |
    "${psql[@]}" -d quillform -c "\\copy 請求 FROM STDIN WITH (FORMAT csv, HEADER true)"
  export QF_TEST_POSTGRES="postgresql://qf@127.0.0.1:$port/quillform"
  export QF_TEST_PGPASSWORD="$password"
}

# A throwaway PostgreSQL cluster for the tests that need a server.
# postgres_start FOLDER: initdb + pg_ctl on a free loopback port, socket in FOLDER;
# exports BREZAL_TEST_PG (an ODBC connection string) when the server is up.
# postgres_stop: stops it (safe to call twice, or when it never started).

postgres_start() {
  local folder
  folder="$(realpath -m "$1")"
  local bin
  bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
  if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "postgres: no server installed; server tests will fail (BREZAL_REQUIRE_PG=0 skips them)" >&2
    return 0
  fi
  rm -rf "$folder"
  mkdir -p "$folder"
  local runas=()
  if [ "$(id -u)" -eq 0 ]; then
    # The server refuses to run as root: give the folder to the postgres user.
    chown postgres "$folder"
    runas=(runuser -u postgres --)
  fi
  local port=$(( 20000 + RANDOM % 20000 ))
  "${runas[@]}" "$bin/initdb" -D "$folder/data" -A trust -U brezal -E UTF8 --locale=C.UTF-8 >/dev/null
  "${runas[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -s \
    -o "-p $port -k $folder -c listen_addresses=127.0.0.1 -c fsync=off" start
  "${runas[@]}" "$bin/createdb" -h "$folder" -p "$port" -U brezal brezal_test
  export BREZAL_PG_FOLDER="$folder" BREZAL_PG_BIN="$bin" BREZAL_PG_PORT="$port"
  postgres_register_driver "$folder"
  export BREZAL_TEST_PG="Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$port;Database=brezal_test;Uid=brezal;Pwd=;"
  POSTGRES_RUNAS="${runas[*]}"
}

postgres_stop() {
  [ -n "${BREZAL_PG_FOLDER:-}" ] || return 0
  $POSTGRES_RUNAS "$BREZAL_PG_BIN/pg_ctl" -D "$BREZAL_PG_FOLDER/data" -s -m immediate stop >/dev/null 2>&1 || true
  unset BREZAL_PG_FOLDER
}

# The tests reach the server through unixODBC's "PostgreSQL Unicode" driver, which Debian's
# odbc-postgresql registers. Where it is installed but not registered, a private driver list
# in FOLDER names it (and FreeTDS, for the SQL Server tests).
postgres_register_driver() {
  odbcinst -q -d -n "PostgreSQL Unicode" >/dev/null 2>&1 && return 0
  local pg tds
  pg="$(find /usr/lib -name psqlodbcw.so 2>/dev/null | head -n 1)"
  tds="$(find /usr/lib -name libtdsodbc.so 2>/dev/null | head -n 1)"
  [ -n "$pg" ] || { echo "postgres: no PostgreSQL ODBC driver; server tests will fail" >&2; return 0; }
  {
    printf '[PostgreSQL Unicode]\nDriver=%s\n' "$pg"
    [ -z "$tds" ] || printf '[FreeTDS]\nDriver=%s\n' "$tds"
  } > "$1/odbcinst.ini"
  export ODBCSYSINI="$1"
}

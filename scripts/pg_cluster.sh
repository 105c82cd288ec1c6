#!/usr/bin/env bash
# A private PostgreSQL 15 cluster for the tests and benchmarks: its own
# folder, its own Unix socket folder and port, no TCP listener, trust
# authentication for its one user "kq" over that socket only.
#
#   scripts/pg_cluster.sh start [DIR]   create and start (DIR: KQ_PG_DIR, else /tmp/kq_pg_<uid>_<port>)
#   scripts/pg_cluster.sh stop  [DIR]   stop and remove the folder
#   scripts/pg_cluster.sh env   [DIR]   print "export KQ_TEST_POSTGRESQL=…" for a shell
#
# KQ_PG_PORT chooses the port (default 54309; it only names the socket file).
# KQ_PG_FSYNC=on keeps fsync and synchronous commits (the benchmarks); the
# tests run without, which is faster and safe for throw-away data.
# PostgreSQL refuses to run as root: as root the cluster belongs to the
# system user kqpg (created when missing).
set -euo pipefail

BIN=/usr/lib/postgresql/15/bin
PORT="${KQ_PG_PORT:-54309}"
DIR="${2:-${KQ_PG_DIR:-/tmp/kq_pg_$(id -u)_${PORT}}}"
OWNER="$(id -un)"

as_owner() {
  if [[ $(id -u) -eq 0 ]]; then runuser -u kqpg -- "$@"; else "$@"; fi
}

conninfo() { echo "postgresql://kq@/postgres?host=$DIR/socket&port=$PORT"; }

start() {
  if [[ ! -x $BIN/initdb ]]; then
    echo "pg_cluster: $BIN/initdb is missing; install postgresql-15 (scripts/install_deps.sh)" >&2
    exit 1
  fi
  if [[ $(id -u) -eq 0 ]]; then
    id kqpg >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin kqpg
    OWNER=kqpg
  fi
  if [[ -f $DIR/data/postmaster.pid ]] && as_owner "$BIN/pg_ctl" -D "$DIR/data" status >/dev/null 2>&1; then
    echo "pg_cluster: already running in $DIR"
    return 0
  fi
  rm -rf "$DIR"
  mkdir -p "$DIR/socket"
  chown -R "$OWNER" "$DIR"
  chmod 700 "$DIR"
  as_owner "$BIN/initdb" -D "$DIR/data" -U kq --auth=trust -E UTF8 --locale=C.UTF-8 >"$DIR/initdb.log" 2>&1 || {
    cat "$DIR/initdb.log" >&2
    exit 1
  }
  local sync="-c fsync=off -c synchronous_commit=off -c full_page_writes=off"
  [[ "${KQ_PG_FSYNC:-off}" == "on" ]] && sync=""
  as_owner "$BIN/pg_ctl" -D "$DIR/data" -l "$DIR/server.log" -w -t 60 \
    -o "-k $DIR/socket -p $PORT -c listen_addresses='' -c max_connections=200 $sync" start >/dev/null || {
    cat "$DIR/server.log" >&2
    exit 1
  }
  echo "pg_cluster: running in $DIR ($(conninfo))"
}

stop() {
  if [[ -d $DIR/data ]]; then
    as_owner "$BIN/pg_ctl" -D "$DIR/data" -m fast -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$DIR"
  echo "pg_cluster: stopped, $DIR removed"
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  env) echo "export KQ_TEST_POSTGRESQL='$(conninfo)'" ;;
  *)
    echo "usage: $0 start|stop|env [DIR]" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# Starts a throwaway PostgreSQL cluster on a free local port for the tests and removes it on exit.
# Exports VELMORA_TEST_PG (host:port) and PGUSER for the tests.

pg_cluster_stop() {
    if [ -n "${PG_TMP:-}" ] && [ -d "$PG_TMP" ]; then
        pg_as "$PG_BIN/pg_ctl" -D "$PG_TMP/data" -m immediate stop >/dev/null 2>&1 || true
        rm -rf "$PG_TMP"
    fi
}

pg_as() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

pg_cluster_start() {
    PG_BIN="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
    if [ -z "$PG_BIN" ] || [ ! -x "$PG_BIN/initdb" ]; then
        echo "PostgreSQL server binaries not found; server database tests are skipped." >&2
        return 0
    fi
    PG_TMP="$(mktemp -d /tmp/velmora-pg.XXXXXX)"
    trap pg_cluster_stop EXIT
    [ "$(id -u)" -eq 0 ] && chown postgres "$PG_TMP"
    local port
    # A port nobody answers on; bash's /dev/tcp needs no extra tool.
    for _ in $(seq 1 50); do
        port=$((20000 + RANDOM % 40000))
        (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
    done
    pg_as "$PG_BIN/initdb" -D "$PG_TMP/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 --no-sync >/dev/null
    pg_as "$PG_BIN/pg_ctl" -D "$PG_TMP/data" -l "$PG_TMP/log" -w \
        -o "-p $port -k $PG_TMP -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" start >/dev/null
    export VELMORA_TEST_PG="127.0.0.1:$port"
    export PGUSER=postgres
    echo "PostgreSQL test cluster on $VELMORA_TEST_PG"
}

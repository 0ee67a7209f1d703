#!/bin/sh
# A PostgreSQL server of the tests' own: pg-server.sh start|stop BUILD_DIR.
# start: a fresh cluster in a folder under /tmp (the socket path must stay short), listening on a Unix socket in that
# folder only, no TCP; its folder is written to BUILD_DIR/pg-server.dir for the tests. Trust for every local user but
# pwuser and kb_launcher, who must give a password (the tests of a refused password). stop: stops it and removes the folder.
# Run as root (CI), the server runs as nobody: initdb refuses root.
set -eu
action=$1
build=$2
bin=/usr/lib/postgresql/15/bin
state=$build/pg-server.dir
if [ "$(id -u)" = 0 ]; then as="runuser -u nobody --"; else as=""; fi

stop() {
    [ -f "$state" ] || return 0
    dir=$(cat "$state")
    if [ -f "$dir/data/postmaster.pid" ]; then
        $as "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir" "$state"
}

case $action in
start)
    stop
    mkdir -p "$build"
    dir=$(mktemp -d /tmp/kbpg.XXXXXX)
    echo "$dir" >"$state"
    [ -z "$as" ] || chown nobody "$dir"
    if ! $as "$bin/initdb" -A trust -U postgres -E UTF8 --locale=C.UTF-8 -D "$dir/data" >"$dir/initdb.log" 2>&1; then
        cat "$dir/initdb.log" >&2
        stop
        exit 1
    fi
    hba=$dir/data/pg_hba.conf
    { echo "local all pwuser,kb_launcher scram-sha-256"; cat "$hba"; } >"$hba.new" && cat "$hba.new" >"$hba" && rm "$hba.new"
    if ! $as "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-k $dir -c listen_addresses='' -c fsync=off" start >/dev/null; then
        cat "$dir/server.log" >&2
        stop
        exit 1
    fi
    ;;
stop)
    stop
    ;;
*)
    echo "usage: $0 start|stop BUILD_DIR" >&2
    exit 2
    ;;
esac

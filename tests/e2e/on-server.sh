#!/bin/sh
# on-server.sh BUILD_DIR SCRIPT ARG...: SCRIPT run with KULTBUH_DATABASE naming a fresh, empty database on the tests'
# server (the pg_server fixture), dropped afterwards.
set -eu
build=$1
shift
dir=$(cat "$build/pg-server.dir")
name=kbe2e_$$
bin=/usr/lib/postgresql/15/bin
"$bin/createdb" -h "$dir" -U postgres "$name"
trap '"$bin/dropdb" -h "$dir" -U postgres --force "$name"' EXIT
KULTBUH_DATABASE="host=$dir dbname=$name user=postgres" "$@"

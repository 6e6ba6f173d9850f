#!/usr/bin/env bash
# Runs a unit-test program with its cases in a random order. The seed comes from /dev/urandom and
# is printed; VZ_SEMILLA=<n> replays an order that failed.
set -euo pipefail
semilla=${VZ_SEMILLA:-$(($(od -An -N4 -tu4 /dev/urandom) % 99999 + 1))}
echo "shuffle seed $semilla (replay with VZ_SEMILLA=$semilla)"
exec "$@" --gtest_shuffle --gtest_random_seed="$semilla"

#!/usr/bin/env bash
# Counts the client's system calls per exchange with strace -c: each scenario of
# bench_faxclient runs once under strace (main thread only, which is the client), the login
# scenario is subtracted as the baseline, and the rest is divided by the exchanges.
#   bench/faxclient/count_syscalls.sh <build-dir>/bench/faxclient/bench_faxclient
set -euo pipefail
bench=${1:?path to bench_faxclient}
command -v strace >/dev/null || { echo "strace is missing: scripts/install-deps.sh installs it" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

count() {  # scenario -> "syscall count" lines
  strace -c -o "$work/$1.txt" "$bench" "$1" --repeat 1 >/dev/null
  awk '$1 ~ /^[0-9.]+$/ && NF >= 5 { name = $NF; calls = $4; print name, calls }' "$work/$1.txt"
}

count login > "$work/base"
printf "%-14s %10s  %s\n" scenario exchanges "client system calls per exchange (above the login baseline)"
for scenario in upload:10245 destinations:254 results:202; do
  name=${scenario%%:*}; exchanges=${scenario##*:}
  count "$name" > "$work/run"
  line=$(awk -v ex="$exchanges" 'NR==FNR { base[$1] = $2; next }
    { n = $2 - base[$1]; if (n / ex >= 0.01) printf "%s %.2f  ", $1, n / ex }' "$work/base" "$work/run")
  printf "%-14s %10s  %s\n" "$name" "$exchanges" "$line"
done

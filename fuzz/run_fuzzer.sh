#!/usr/bin/env bash
# Runs one fuzzer briefly: run_fuzzer.sh FUZZER SEED_CORPUS WORK_DIR SECONDS
# [MORE_SEEDS...].
# New inputs go to WORK_DIR, never into the seed corpus; a crash leaves its
# input in WORK_DIR and fails the run.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4
shift 4
rm -rf "$work"
mkdir -p "$work/corpus"
cd "$work"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  -print_final_stats=1 corpus "$seeds" "$@"

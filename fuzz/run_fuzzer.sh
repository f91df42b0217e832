#!/usr/bin/env bash
# Runs one fuzzer briefly:
#   run_fuzzer.sh FUZZER SEED_CORPUS WORK_DIR SECONDS [MORE_SEEDS...]
# MORE_SEEDS are folders of the real test data, used where they exist. New
# inputs go to WORK_DIR, never into a seed folder; a crash leaves its input in
# WORK_DIR and fails the run.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4
shift 4
more=()
for folder in "$@"; do [ -d "$folder" ] && more+=("$folder"); done
rm -rf "$work"
mkdir -p "$work/corpus"
cd "$work"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  -print_final_stats=1 corpus "$seeds" "${more[@]}"

#!/usr/bin/env bash
# Prints the table of docs/performance.md: how `players tag` settles names
# on the real games whose players' FIDE IDs are known (used only as the
# truth) against the complete FIDE lists of the test data, by the fit-only,
# loose and evidence rules. The test data stays beside the project
# (VELMARSH_TESTDATA, by default ../shared/testdata). Extra arguments go to
# tag-evaluate (--misses lists what the evidence rule did not take right;
# --check fails below the bar).
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$root/scripts/setup.sh"
"$root/scripts/build.sh" native
"$build/native/tools/tag-evaluate" "$testdata" "$@"

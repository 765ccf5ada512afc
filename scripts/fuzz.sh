#!/usr/bin/env bash
# Long fuzzing of the parsers under ASan and UBSan, one target after another, each from its
# committed corpus; at the end the inputs it found are merged back, minimised, into that corpus.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]     (default 1200 s; jpeg_decoder png_loader xsi_reader)
# Logs and any crashing inputs land in build/fuzz-runs/. Needs the main build (./test.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-1200}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(jpeg_decoder png_loader xsi_reader)

declare -A corpus=([jpeg_decoder]=jpeg [png_loader]=png [xsi_reader]=xsi)
declare -A max_len=([jpeg_decoder]=4096 [png_loader]=4096 [xsi_reader]=8192)
runs=build/fuzz-runs
mkdir -p "$runs"

for target in "${targets[@]}"; do
    name=${corpus[$target]:?unknown target $target}
    binary=build/fuzz/${target}_fuzz
    [ -x "$binary" ] || { echo "fuzz.sh: $binary is missing: build first" >&2; exit 1; }
    seeds=tests/fuzz/corpus/$name
    work=$runs/$name-work
    rm -rf "$work" && mkdir -p "$work" && cp "$seeds"/* "$work"/

    echo "fuzz.sh: $target for $seconds s"
    status=0
    "$binary" -max_total_time="$seconds" -max_len="${max_len[$target]}" -dict="tests/fuzz/dict/$name.dict" \
        -rss_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$runs/$name-" "$work" >"$runs/$name.log" 2>&1 || status=$?
    grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|Done [0-9]+ runs|stat::number_of_executed_units|stat::peak_rss_mb)' "$runs/$name.log" || true
    if [ $status -ne 0 ]; then
        echo "fuzz.sh: $target stopped with status $status; see $runs/$name.log and $runs/$name-*" >&2
        exit $status
    fi

    # Only the inputs that add coverage join the committed corpus; the named seeds stay as they are.
    "$binary" -merge=1 -max_len="${max_len[$target]}" "$seeds" "$work" >"$runs/$name-merge.log" 2>&1
    grep -E 'MERGE-OUTER: [0-9]+ new files' "$runs/$name-merge.log" || true
    echo "fuzz.sh: $seeds now holds $(ls "$seeds" | wc -l) inputs"
done

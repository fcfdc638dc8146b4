#!/usr/bin/env bash
# Builds the fuzz targets, gives each a short run over its corpus and then
# replays every saved crash input. Fails on any crash, leak or sanitizer
# report. fuzz/smoke.sh [seconds per target] (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-5}"
build=build-fuzz
fuzz/build.sh "$build"

status=0
for target in fuzz_datafile fuzz_progress fuzz_appearance; do
    program="$build/fuzz/$target"
    # New inputs go to a scratch folder, so the committed corpus stays as it is.
    scratch="$(mktemp -d)"
    echo "== $target: ${seconds}s over fuzz/corpus/$target"
    if "$program" -max_total_time="$seconds" -timeout=30 -dict="fuzz/dict/$target.dict" \
        -artifact_prefix="$scratch/" "$scratch" "fuzz/corpus/$target" >"$scratch/log" 2>&1; then
        grep -a -E '^#[0-9]+[[:space:]]+DONE' "$scratch/log" || true
    else
        tail -n 60 "$scratch/log"
        kept="$(mktemp -d)"
        cp "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* "$scratch"/oom-* "$kept" \
            2>/dev/null || true
        echo "!! $target failed; its input is kept in $kept" >&2
        status=1
    fi

    shopt -s nullglob
    regressions=(fuzz/regressions/"$target"/*)
    shopt -u nullglob
    if [ ${#regressions[@]} -gt 0 ]; then
        echo "== $target: ${#regressions[@]} regression inputs"
        if ! "$program" "${regressions[@]}" >"$scratch/regressions.log" 2>&1; then
            tail -n 60 "$scratch/regressions.log"
            echo "!! $target failed on a regression input" >&2
            status=1
        fi
    fi
    rm -rf "$scratch"
done
exit $status

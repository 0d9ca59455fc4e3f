#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for SECONDS each over its corpus and fails when one
# of them finds a crash, a sanitizer report, a broken property or a hang.
#   run.sh BUILD_DIR SECONDS [TARGET...]      (targets: setup san pgn game_file book commands)
# Each target works in BUILD_DIR/fuzz-work/TARGET: new inputs go to corpus/ there (the seeds in
# tests/fuzz/corpus/TARGET are only read), findings to crash-*, leak-*, timeout-* files.
set -u
build=$(readlink -f "$1")
seconds=${2:-60}
shift 2
here=$(dirname "$(readlink -f "$0")")
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(setup san pgn game_file book commands)

failed=()
for target in "${targets[@]}"; do
    binary="$build/tests/fuzz/fuzz_$target"
    [ -x "$binary" ] || { echo "no fuzz target $binary"; exit 1; }
    work="$build/fuzz-work/$target"
    mkdir -p "$work/corpus"
    rm -f "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*
    # The engine's log goes nowhere; the command stream finds a PGN file and a list to convert.
    ln -sf /dev/null "$work/Velkor.log"
    if [ "$target" = commands ]; then
        cp "$here/corpus/pgn/molinari-bordais-1979.pgn" "$work/in.pgn"
        printf 'in.pgn\n' > "$work/list.txt"
    fi
    echo "=== fuzz_$target for ${seconds}s"
    (cd "$work" && "$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=16384 \
        -dict="$here/dict/$target.dict" -artifact_prefix="$work/" -print_final_stats=1 \
        corpus "$here/corpus/$target" > "$work/fuzz.log" 2>&1)
    status=$?
    grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)" "$work/fuzz.log" | tail -3
    grep -E "cov: [0-9]+" -o "$work/fuzz.log" | tail -1
    if [ $status -ne 0 ] || ls "$work"/crash-* "$work"/timeout-* "$work"/leak-* "$work"/oom-* >/dev/null 2>&1; then
        echo "fuzz_$target FAILED (status $status):"
        grep -E "ERROR|SUMMARY|fuzz property|check failed|runtime error" "$work/fuzz.log" | head -5
        ls "$work"/crash-* "$work"/timeout-* "$work"/leak-* "$work"/oom-* 2>/dev/null
        failed+=("$target")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found problems in: ${failed[*]}"
    exit 1
fi
echo "fuzzing: nothing found"

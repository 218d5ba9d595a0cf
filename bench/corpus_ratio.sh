#!/bin/sh
# Times our readers and the peer JCAMP-DX parser on the same files in one run
# and prints "file ours_us peer_us ratio" (ratio = peer / ours) for the files
# both read. Usage: bench/corpus_ratio.sh BUILD_DIR PEER_DIR [FILES...]
# PEER_DIR is a copy of ../shared/peers/jcamp with its packages installed
# (npm ci); FILES default to ../shared/corpus/jcamp/*. Both run on the same
# processor (CPU, default 0, where taskset is present): the processors of a
# virtual machine can differ in speed from one minute to the next.
set -e
build=$1
peer=$2
shift 2
[ $# -gt 0 ] || set -- ../shared/corpus/jcamp/*
pin=""
if command -v taskset >/dev/null 2>&1; then
    pin="taskset -c ${CPU:-0}"
fi
ours=$(mktemp)
theirs=$(mktemp)
$pin "$build/bin/corpus_bench" "$@" >"$ours"
$pin node "$peer/peer_timing.mjs" "$@" >"$theirs"
awk 'NR == FNR { if ($4 == "ok") us[$1] = $2; next }
     ($1 in us) && $3 > 0 { printf "%-34s %9.1f %9.1f %7.1f\n", $1, us[$1], $2, $2 / us[$1] }' \
    "$ours" "$theirs"
rm -f "$ours" "$theirs"

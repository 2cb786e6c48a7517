#!/usr/bin/env bash
# A long run of one fuzz target on its corpus (fuzz/construit_corpus.sh):
#   fuzz/lance.sh CIBLE [EXECUTIONS]         (default 1000000)
# One process, niced; inputs at fault go to build/fuzz/trouvailles/, the log
# to build/fuzz/CIBLE.log (its last line gives the executions, cov and ft).
set -euo pipefail
cible="$1"
executions="${2:-1000000}"
racine="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$racine/build/fuzz/trouvailles" "$racine/build/fuzz/corpus/$cible"
# The profile target forks a child per xylib read: a small quarantine keeps
# the parent's memory, hence each fork, small.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=32}"
cd "$racine/build/fuzz" # -jobs writes its job's output to fuzz-0.log here
rm -f fuzz-0.log
nice -n 10 "$racine/build/fuzz/fuzz/fuzz_$cible" -runs="$executions" -jobs=1 -workers=1 \
    -timeout=60 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$racine/build/fuzz/trouvailles/$cible-" "$racine/build/fuzz/corpus/$cible" \
    >"$racine/build/fuzz/$cible.log" 2>&1 || true
cat fuzz-0.log >>"$cible.log" 2>/dev/null || true
tail -n 25 "$racine/build/fuzz/$cible.log"

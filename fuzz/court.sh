#!/usr/bin/env bash
# A short bounded run of one fuzz target, part of the test command (ctest):
#   fuzz/court.sh CIBLE [EXECUTIONS]
# Exits 77 (ctest: skipped) when clang is absent. An input at fault is kept in
# build/fuzz/trouvailles/ and named on the output.
set -euo pipefail
cible="$1"
executions="${2:-3000}"
racine="$(cd "$(dirname "$0")/.." && pwd)"
if ! command -v clang++ >/dev/null; then
    echo "clang++ not found: the fuzz target $cible is skipped"
    exit 77
fi
programme="$racine/build/fuzz/fuzz/fuzz_$cible"
[ -x "$programme" ] || { echo "$programme is missing: the test fuzz_construction builds it"; exit 1; }
trouvailles="$racine/build/fuzz/trouvailles"
mkdir -p "$trouvailles"
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
graines=()
[ -d "$racine/build/fuzz/court/graines/$cible" ] && graines=("$racine/build/fuzz/court/graines/$cible")
ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=32}" nice -n 10 "$programme" -runs="$executions" -seed=1 -timeout=60 -max_len=65536 \
    -artifact_prefix="$trouvailles/$cible-" "$corpus" "${graines[@]}"

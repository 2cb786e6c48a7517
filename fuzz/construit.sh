#!/usr/bin/env bash
# Builds the fuzz preset and the seeds of the short runs (ctest's fuzz_construction).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
fuzz/construit_corpus.sh --rapide build/fuzz/court

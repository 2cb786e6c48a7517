#!/usr/bin/env bash
# The main job: installs what is missing, builds kovrin-batch with the release
# preset and refines the bundled cubic example (silicon, the NIST SRM 640d
# cell), printing the refined cell. Extra arguments go to kovrin-batch (--json...).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/installe_dependances.sh
cmake --preset release >/dev/null
cmake --build --preset release --target kovrin-batch
travail=build/release/exemple-silicium
echo
echo "Refinement of examples/cubique (listing and export in $travail):"
build/release/batch/kovrin-batch \
    --peaks examples/cubique/silicium.prn \
    --cell examples/cubique/silicium.cry \
    --lambda 1.5405929 \
    --workdir "$travail" "$@"

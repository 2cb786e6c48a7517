#!/usr/bin/env bash
# The main job: installs what is missing and builds everything with the
# release preset. With a display it starts kovrin2 on the bundled cubic
# example (silicon, NIST SRM 640d: peaks and cell loaded; the wavelength dialog
# asks for the source of the column file). Without a display, or with --batch,
# it refines the same example with kovrin-batch and prints the refined cell;
# the arguments after --batch go to kovrin-batch (--json...).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/installe_dependances.sh
cmake --preset release >/dev/null
cmake --build --preset release
exemple=examples/cubique
if [ "${1:-}" != "--batch" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    travail=build/release/exemple-silicium-fenetres
    mkdir -p "$travail"
    cd "$travail"
    exec ../app/fenetres/kovrin2 "../../../$exemple/silicium.prn" "../../../$exemple/silicium.cry"
fi
[ "${1:-}" = "--batch" ] && shift
travail=build/release/exemple-silicium
echo
echo "Refinement of $exemple (listing and export in $travail):"
build/release/batch/kovrin-batch \
    --peaks "$exemple/silicium.prn" \
    --cell "$exemple/silicium.cry" \
    --lambda 1.5405929 \
    --workdir "$travail" "$@"

#!/usr/bin/env bash
# The pictures of the README: every window of kovrin2 rendered offscreen on the
# bundled silicon example (and the real Cu3Au profile beside the project, when
# it is there), into docs/captures/. Builds kovrin2 with the release preset.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target kovrin2
dossier="$PWD/docs/captures"
travail="$PWD/build/release/captures"
mkdir -p "$travail"
# The windows at their first-run size and place, whatever this user's settings say.
export XDG_CONFIG_HOME="$travail/reglages" XDG_DATA_HOME="$travail/donnees"
fichiers=("$PWD/examples/cubique/silicium.prn" "$PWD/examples/cubique/silicium.cry")
cd "$travail"
QT_QPA_PLATFORM=offscreen "$OLDPWD/build/release/app/fenetres/kovrin2" --capture "$dossier" "${fichiers[@]}"
# The profile window on the real Cu3Au pattern, when it lies beside the project.
reel="$OLDPWD/../shared/data/real/Cu3Au-1.raw"
if [ -f "$reel" ]; then
    QT_QPA_PLATFORM=offscreen "$OLDPWD/build/release/app/fenetres/kovrin2" --capture "$travail/reel" "$reel"
    cp "$travail/reel/profil.png" "$dossier/profil.png"
fi

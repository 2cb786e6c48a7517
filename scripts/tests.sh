#!/usr/bin/env bash
# Installs what is missing, builds with the dev preset (warnings as errors,
# AddressSanitizer, UBSan) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/installe_dependances.sh
cmake --preset dev
cmake --build --preset dev
ctest --preset dev

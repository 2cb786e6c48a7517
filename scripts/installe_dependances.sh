#!/usr/bin/env bash
# Installs the Debian packages KOVRIN needs to build and test (through sudo when
# not root). Safe to run again.
set -euo pipefail
# libgsl-dev: profile fitting and least-squares diagnostics; tao-pegtl-dev:
# the grammar gemmi's CIF reader is built on (the tests read written CIF back);
# libxy-dev: today's instrument formats; clang and its runtime libraries
# (libFuzzer) build the fuzz preset only.
paquets=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev gemmi-dev libcli11-dev
         nlohmann-json3-dev qt6-base-dev libgsl-dev tao-pegtl-dev libxy-dev clang
         libclang-rt-14-dev)
manquants=()
for p in "${paquets[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || manquants+=("$p")
done
if [ ${#manquants[@]} -eq 0 ]; then
    exit 0
fi
sudo_si_besoin=()
[ "$(id -u)" -eq 0 ] || sudo_si_besoin=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_si_besoin[@]}" apt-get update -qq
"${sudo_si_besoin[@]}" apt-get install -y -qq --no-install-recommends "${manquants[@]}"

#!/usr/bin/env bash
# Builds the seed corpora of the fuzz targets; they are not committed.
#
#   fuzz/construit_corpus.sh [--rapide] [SORTIE]     (default SORTIE: build/fuzz/corpus)
#
# Seeds: every file the test suites write (the test helper ecrit_fichier also
# copies each fixture into $KOVRIN_CORPUS; the dev test programs test_fichiers,
# test_cristallo and test_batch are run for that, so build the dev preset
# first), the examples, the space-group data files, the real files of
# ../shared/data/real, and a few space-group spellings. Each seed gets in front
# the byte by which its target chooses the format (fuzz/entrees.cpp), then each
# corpus is minimised by its fuzz program (libFuzzer -merge=1) when build/fuzz
# holds it. --rapide: no test run and no minimisation (the short runs of ctest).
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
rapide=0
if [ "${1:-}" = "--rapide" ]; then
    rapide=1
    shift
fi
sortie="$(realpath -m "${1:-$racine/build/fuzz/corpus}")"
brut="$(mktemp -d)"
trap 'rm -rf "$brut"' EXIT

# The fixtures the tests write.
if [ "$rapide" = 0 ]; then
    for programme in test_fichiers test_cristallo test_batch; do
        (cd "$brut" && KOVRIN_CORPUS="$brut" "$racine/build/dev/tests/$programme" >/dev/null)
    done
fi
cp "$racine"/examples/*/*.* "$racine"/data/spgr2.dat "$racine"/data/*.pos "$brut"/
cp "$racine"/../shared/data/real/*.raw "$racine"/../shared/data/real/*.xrdml "$brut"/ 2>/dev/null || true

# graine CIBLE OCTETS FICHIER: FICHIER with the selector bytes in front.
graine() {
    mkdir -p "$sortie/graines/$1"
    local f="$sortie/graines/$1/tmp"
    printf "$2" >"$f"
    cat "$3" >>"$f"
    mv "$f" "$sortie/graines/$1/$(sha1sum "$f" | cut -c1-16)"
}

systeme_pos() { # the target's system byte of a .pos file
    case "$(basename "$1")" in
    T.pos) echo '\x00' ;; M.pos) echo '\x01' ;; O.pos) echo '\x02' ;; q.pos) echo '\x03' ;;
    H.pos) echo '\x04' ;; R.pos) echo '\x05' ;; *) echo '\x06' ;;
    esac
}

rm -rf "$sortie/graines"
for f in "$brut"/*; do
    [ -f "$f" ] || continue
    nom="$(basename "$f")"
    case "${nom,,}" in
    spgr2.dat) graine groupes '\x00\x06' "$f" ;;
    scfs.dat) graine groupes '\x02\x06' "$f" ;;
    *.pos) graine groupes "\\x01$(systeme_pos "$f")" "$f" ;;
    *.dif) graine pics '\x00' "$f" ;;
    *.di) graine pics '\x03' "$f" ;;
    *.prn) graine pics '\x04' "$f" ;;
    *.txt) graine pics '\x01' "$f" && graine profils '\x04' "$f" ;;
    *.dat) graine pics '\x02' "$f" && graine profils '\x01' "$f" ;;
    *.raw) graine profils '\x00' "$f" ;;
    *.cpi) graine profils '\x02' "$f" ;;
    *.rd) graine profils '\x03' "$f" ;;
    *.xrdml | *.uxd | *.udf | *.xy | *.csv) graine profils '\x04' "$f" ;;
    *.cry) graine mailles '\x00' "$f" ;;
    *.ics) graine mailles '\x01' "$f" ;;
    esac
done
symboles=("P 1 21/c 1" "Pm-3m" "F d -3 m:1" "P2_1/c" "R -3 m:H" "P 4/m -3 2/m" "227" "I 41/a m d")
for s in "${symboles[@]}"; do
    printf '%s' "$s" >"$brut/symbole"
    graine groupes '\x03\x06' "$brut/symbole"
done

# kovrin-batch's command lines (fuzz/entrees_batch.cpp: one byte chooses an
# option, the next ones its value): silicon with its cell file, with the cell
# typed (a = 5.431, then a negative cell), and the steps after the selection.
commandes=('\x00\x06\x0b\x01' '\x00\x06\x0b\x03\x00\x04\x01\x05\x05\x04\x04\x04\x06\x06\x06'
    '\x00\x06\x0b\x03\x00\x04\x00\x05\x05\x05\x05\x05\x06\x06\x06'
    '\x00\x07\x01\x01\x0d\x11\x10\x12\x0b' '\x00\x06\x0b\x01\x08\x01\x00\x07\x09\x0c\x0a\x02\x00\x02')
for c in "${commandes[@]}"; do
    printf '' >"$brut/commande"
    graine batch "$c" "$brut/commande"
done

for cible in pics profils mailles groupes batch; do
    programme="$racine/build/fuzz/fuzz/fuzz_$cible"
    if [ "$rapide" = 0 ] && [ -x "$programme" ]; then
        rm -rf "$sortie/$cible"
        mkdir -p "$sortie/$cible"
        "$programme" -merge=1 "$sortie/$cible" "$sortie/graines/$cible" >/dev/null 2>&1
    fi
    echo "$cible: $(ls "$sortie/graines/$cible" | wc -l) seeds in $sortie/graines/$cible"
done

#!/usr/bin/env bash
# Ordering by surname in byte order and in the Slovak collation, as jobs from
# klienti's command line, and, where DUCKDB names a command that takes an
# input and an output file, DuckDB's ORDER BY priezvisko COLLATE sk writing
# the same CSV; run alternately, medians of wall time and peak memory.
#
#   bench/collation.sh [RECORDS] [RUNS] [SEED]
#   DUCKDB='node path/to/order_sk.mjs' bench/collation.sh
set -euo pipefail
cd "$(dirname "$0")/.."
POCET=${1:-1000000}
BEHY=${2:-5}
SEED=${3:-7}
BUILD=build/release
cmake --preset release >/dev/null
cmake --build --preset release --target klienti generate_klienti >/dev/null
KLIENTI=$(realpath "$BUILD/klienti")
PRACA=$(pwd)/bench/out-collation
rm -rf "$PRACA"
mkdir -p "$PRACA"
"$BUILD/generate_klienti" "$POCET" "$SEED" "$PRACA/klienti.csv"

declare -A PRIKAZ=([bytes]="$KLIENTI --order priezvisko --output out.csv klienti.csv"
                   [sk]="$KLIENTI --collation sk --order priezvisko --output out.csv klienti.csv")
NASTROJE=(bytes sk)
if [ -n "${DUCKDB:-}" ]; then
  PRIKAZ[duckdb]="$DUCKDB klienti.csv out.csv"
  NASTROJE+=(duckdb)
fi
declare -A CASY PAMAT
for ((beh = 1; beh <= BEHY; beh++)); do
  for nastroj in "${NASTROJE[@]}"; do
    rm -f "$PRACA/out.csv"
    (cd "$PRACA" && /usr/bin/time -o "$PRACA/time.txt" -f '%e %M' ${PRIKAZ[$nastroj]} 2>/dev/null)
    meranie=$(tail -1 "$PRACA/time.txt")
    CASY[$nastroj]+="${meranie% *} "
    PAMAT[$nastroj]+="${meranie#* } "
  done
done
median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
echo "| tool | wall time (s) | peak memory (MiB) | time / bytes |"
echo "|---|---:|---:|---:|"
zaklad=$(echo "${CASY[bytes]}" | median)
for nastroj in "${NASTROJE[@]}"; do
  cas=$(echo "${CASY[$nastroj]}" | median)
  mib=$(echo "${PAMAT[$nastroj]}" | median | awk '{printf "%.0f", $1/1024}')
  awk -v t="$nastroj" -v c="$cas" -v m="$mib" -v z="$zaklad" 'BEGIN {printf "| %s | %.2f | %s | %.2f |\n", t, c, m, c / z}'
done

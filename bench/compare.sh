#!/usr/bin/env bash
# Whole-job comparison of klienti with the tools a user might script instead.
#
#   bench/compare.sh [RECORDS] [RUNS] [TOOLS] [SEED]
#
# Defaults: 1000000 records, 5 runs, every installed tool, seed 7; TOOLS is a
# space-separated list out of: klienti job gnu-sort sqlite3 miller previous
# ("" for all but previous). klienti runs the dialogue through its standard
# input; job runs the same work as a job from klienti's command line. KLIENTI=path/to/klienti measures another build of the
# tool; PREVIOUS=path/to/klienti is the build the tool "previous" runs, say
# the last release, so that the two are measured interleaved in one run.
# JOBS="all-surname" runs only the jobs named (say at 10M, where each takes seconds).
#
# Generates a client file, then runs three jobs through klienti's standard
# input, each with its console listing sent to /dev/null and its output file
# written: (1) filter credit score 40..80, order by surname; (2) order all by
# surname; (3) order all by monthly salary. Each installed peer (the GNU sort
# pipeline, sqlite3, Miller) does the same jobs; its output file must be
# byte-identical to klienti's. Runs alternate between the tools; the table
# gives the median wall time, the peak memory of the largest process, and the
# time relative to klienti.
set -euo pipefail
cd "$(dirname "$0")/.."
POCET=${1:-1000000}
BEHY=${2:-5}
SEED=${4:-7}
BUILD=build/release

cmake --preset release >/dev/null
cmake --build --preset release --target klienti generate_klienti >/dev/null
KLIENTI=$(realpath "${KLIENTI:-$BUILD/klienti}")
PREVIOUS=$(realpath "${PREVIOUS:-$KLIENTI}")
PRACA=$(pwd)/bench/out
rm -rf "$PRACA"
mkdir -p "$PRACA"
"$BUILD/generate_klienti" "$POCET" "$SEED" "$PRACA/klienti.csv"
VSTUP=$PRACA/klienti.csv

# Each job: klienti's answers, and the sort key (field, numeric or not) and
# the credit-score filter for the peers.
read -r -a JOBS <<< "${JOBS:-filter-surname all-surname all-salary}"
declare -A ODPOVEDE=([filter-surname]='a\n1\n40 80\n2\nu\n' [all-surname]='n\n2\nu\n' [all-salary]='n\n5\nu\n')
declare -A POLE=([filter-surname]=3 [all-surname]=3 [all-salary]=7)
declare -A NUMERICKY=([filter-surname]='' [all-surname]='' [all-salary]=n)
declare -A FILTER=([filter-surname]=1 [all-surname]=0 [all-salary]=0)
declare -A ULOHA=([filter-surname]='--filter bonita=40..80 --order priezvisko' [all-surname]='--order priezvisko'
                  [all-salary]='--order mzda')
declare -A STLPEC=([3]=priezvisko [7]='mesacna mzda')

TOOLS=(klienti job gnu-sort)
command -v sqlite3 >/dev/null && TOOLS+=(sqlite3)
command -v mlr >/dev/null && TOOLS+=(miller)
if [ -n "${3:-}" ]; then
  read -r -a TOOLS <<< "klienti ${3/klienti/}"
fi

# Runs one tool on one job in directory $1; leaves its output in $1/out.csv.
run_tool() {
  local dir=$1 tool=$2 job=$3
  local pole=${POLE[$job]} num=${NUMERICKY[$job]} filter=${FILTER[$job]}
  case $tool in
    klienti|previous)
      local program=$KLIENTI
      [ "$tool" = previous ] && program=$PREVIOUS
      (cd "$dir" && printf "${ODPOVEDE[$job]}" | "$program" > /dev/null) ;;
    job)
      (cd "$dir" && "$KLIENTI" ${ULOHA[$job]} --output out.csv 2> /dev/null) ;;
    gnu-sort)
      if [ "$filter" = 1 ]; then
        LC_ALL=C awk -F, 'NR==1{print;next} $10>=40 && $10<=80' "$VSTUP"
      else
        cat "$VSTUP"
      fi | { IFS= read -r h; printf '%s\n' "$h"; LC_ALL=C sort -s -t, -k"$pole,$pole$num"; } > "$dir/out.csv" ;;
    sqlite3)
      local kde='' podla="\"${STLPEC[$pole]}\""
      [ "$filter" = 1 ] && kde='where cast(bonita as integer) between 40 and 80'
      [ -n "$num" ] && podla="cast($podla as integer)"
      sqlite3 :memory: -cmd ".import --csv $VSTUP k" -cmd ".headers on" -cmd ".mode list" -cmd ".separator ," \
        "select * from k $kde order by $podla, rowid" > "$dir/out.csv" ;;
    miller)
      local vyber=(cat) podla="-f"
      [ "$filter" = 1 ] && vyber=(filter '$bonita >= 40 && $bonita <= 80')
      [ -n "$num" ] && podla="-nf"
      mlr --csv "${vyber[@]}" then sort "$podla" "${STLPEC[$pole]}" "$VSTUP" > "$dir/out.csv" ;;
  esac
}

declare -A CASY PAMAT
for ((beh = 1; beh <= BEHY; beh++)); do
  for job in "${JOBS[@]}"; do
    for tool in "${TOOLS[@]}"; do
      dir=$PRACA/$tool-$job
      rm -rf "$dir"; mkdir -p "$dir"
      # klienti reads klienti.csv where it runs and names its output after
      # the time: the link before and the renaming after are not timed.
      case $tool in klienti|previous|job) ln -f "$VSTUP" "$dir/klienti.csv" ;; esac
      # What the tool before left to write back is on the disk first: a
      # tool that makes its file durable would wait for it too.
      sync
      meranie=$( { /usr/bin/time -f '%e %M' bash -c "$(declare -p VSTUP KLIENTI PREVIOUS ODPOVEDE ULOHA POLE NUMERICKY FILTER STLPEC); $(declare -f run_tool); run_tool '$dir' '$tool' '$job'" ; } 2>&1 | tail -1)
      case $tool in
        job) rm -f "$dir/klienti.csv" ;;
        klienti|previous)
          rm -f "$dir/klienti.csv"
          subor=$(cd "$dir" && ls | grep '\.csv$' | head -1)
          mv "$dir/$subor" "$dir/out.csv" ;;
      esac
      CASY[$tool,$job]+="${meranie% *} "
      PAMAT[$tool,$job]+="${meranie#* } "
      if [ "$tool" != klienti ] && ! cmp -s "$dir/out.csv" "$PRACA/klienti-$job/out.csv"; then
        echo "MISMATCH: $tool, $job: its output differs from klienti's" >&2
        exit 1
      fi
    done
  done
done

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

echo
echo "$POCET records of seed $SEED, $BEHY runs each, medians; memory is the peak of the largest process"
echo
echo "| job | tool | wall time (s) | peak memory (MiB) | time / klienti |"
echo "|---|---|---:|---:|---:|"
for job in "${JOBS[@]}"; do
  zaklad=$(echo "${CASY[klienti,$job]}" | median)
  for tool in "${TOOLS[@]}"; do
    cas=$(echo "${CASY[$tool,$job]}" | median)
    mib=$(echo "${PAMAT[$tool,$job]}" | median | awk '{printf "%.0f", $1/1024}')
    awk -v j="$job" -v t="$tool" -v c="$cas" -v m="$mib" -v z="$zaklad" \
      'BEGIN {printf "| %s | %s | %.2f | %s | %.2f |\n", j, t, c, m, c / z}'
  done
done
echo
echo "Every peer's output file was byte-identical to klienti's."

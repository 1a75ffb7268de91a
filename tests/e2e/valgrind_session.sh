#!/usr/bin/env bash
# One session of the built klienti under valgrind's memcheck: both branches,
# output files written (one of them under a numbered name), an invalid
# answer and bad bounds. Fails on any memory error and on any leak.
#   valgrind_session.sh VALGRIND KLIENTI SAMPLE_CSV
set -euo pipefail
valgrind=$1 klienti=$2 sample=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$sample" "$dir/klienti.csv"
# The thread that waits for the ending signals lives as long as the program:
# its thread-local storage is in use to the end, no leak.
cat > "$dir/signal-thread.supp" <<'EOF'
{
   the ending signals' thread
   Memcheck:Leak
   match-leak-kinds: possible
   ...
   fun:_dl_allocate_tls
   ...
   fun:_Z19handleEndingSignalsv
}
EOF
cd "$dir"
printf 'x\na1\nabc\n40 80\n2\nn\n9\nn\n3\na5\n0 200\n8\nu\n' |
  "$valgrind" --quiet --error-exitcode=99 --leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=all \
    --suppressions=signal-thread.supp \
    "$klienti" > stdout.txt
files=$(ls | grep -c '\.csv$')
[ "$files" -eq 5 ] || { echo "expected 4 output files beside klienti.csv, found $((files - 1))"; exit 1; }
grep -q 'Klient c. 40$' stdout.txt || { echo "the listing of all 40 clients is missing"; exit 1; }
echo "valgrind: no errors, nothing leaked"

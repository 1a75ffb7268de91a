# Two entry points for a fresh clone:
#   make run   builds the tool in release mode and runs it on the bundled sample
#              in the scratch directory run/ (ignored by git), where its output
#              files land
#   make test  builds everything and runs every test
.PHONY: run test bench clean

run:
	cmake --preset release >/dev/null
	cmake --build --preset release --target klienti
	mkdir -p run
	cp data/klienti.csv run/klienti.csv
	cd run && ../build/release/klienti

test:
	cmake --preset debug >/dev/null
	cmake --build --preset debug
	ctest --preset debug

clean:
	rm -rf build run

# Whole-job comparison with the GNU sort pipeline, sqlite3 and Miller on a
# generated file of a million clients (see bench/compare.sh for its options).
bench:
	bench/compare.sh

# Two entry points for a fresh clone:
#   make run   builds the tool in release mode and runs it on the bundled sample
#              in the scratch directory run/ (ignored by git), where its output
#              files land
#   make test  builds everything and runs every test
.PHONY: run test test-sanitize fuzz bench package package-check clean

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

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# halting on the first report.
test-sanitize:
	cmake --preset sanitize >/dev/null
	cmake --build --preset sanitize
	ctest --preset sanitize

# Coverage-guided fuzzing of the reader and of the whole dialogue, each for
# FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600).
FUZZ_SECONDS ?= 60
FUZZ_SEED ?= 0
fuzz:
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	fuzz/run.sh $(FUZZ_SECONDS) $(FUZZ_SEED)

# The Debian package (build/release/klienti_*.deb), and a check that it and
# cmake --install both yield a working program and manual page.
package:
	cmake --preset release >/dev/null
	cmake --build --preset release --target klienti
	cd build/release && cpack -G DEB

package-check:
	cmake --preset release >/dev/null
	cmake --build --preset release --target klienti
	tests/package/check_install.sh build/release

clean:
	rm -rf build run

# Whole-job comparison with the GNU sort pipeline, sqlite3 and Miller on a
# generated file of a million clients (see bench/compare.sh for its options).
bench:
	bench/compare.sh

# Two entry points for a fresh clone:
#   make run   builds the tool in release mode and runs it in the scratch
#              directory run/ (ignored by git), where its output files land, on
#              run/klienti.csv: the bundled sample, copied there unless a file
#              of that name is there already
#   make test  builds everything and runs every test
.PHONY: run generator test test-sanitize test-tsan fuzz bench package package-check clean clean-run

# The presets build with Ninja; where it is not installed, with Make.
GENERATOR := $(if $(shell command -v ninja 2>/dev/null),,-G "Unix Makefiles")

run:
	cmake --preset release $(GENERATOR) >/dev/null
	cmake --build --preset release --target klienti
	@mkdir -p run
	@if [ -e run/klienti.csv ]; then \
	  echo "make run: klienti runs on run/klienti.csv, the file that was there already"; \
	else \
	  cp data/klienti.csv run/klienti.csv; \
	  echo "make run: klienti runs on run/klienti.csv, a copy of the bundled sample data/klienti.csv"; \
	fi
	cd run && ../build/release/klienti

# The generator of synthetic client files: build/release/generate_klienti.
generator:
	cmake --preset release $(GENERATOR) >/dev/null
	cmake --build --preset release --target generate_klienti

test:
	cmake --preset debug $(GENERATOR) >/dev/null
	cmake --build --preset debug
	ctest --preset debug

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# halting on the first report.
test-sanitize:
	cmake --preset sanitize $(GENERATOR) >/dev/null
	cmake --build --preset sanitize
	ctest --preset sanitize

# The whole test suite under ThreadSanitizer, halting on the first report:
# loading, ordering and writing run on several threads.
test-tsan:
	cmake --preset tsan $(GENERATOR) >/dev/null
	cmake --build --preset tsan
	ctest --preset tsan

# Coverage-guided fuzzing of the reader and of the whole dialogue, each for
# FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600).
FUZZ_SECONDS ?= 60
FUZZ_SEED ?= 0
fuzz:
	cmake --preset fuzz $(GENERATOR) >/dev/null
	cmake --build --preset fuzz
	fuzz/run.sh $(FUZZ_SECONDS) $(FUZZ_SEED)

# The Debian package (build/release/klienti_*.deb, the one of the current
# version only), and a check that it and cmake --install both yield a working
# program and manual page, and that lintian finds no error and no warning.
package:
	cmake --preset release $(GENERATOR) >/dev/null
	cmake --build --preset release --target klienti manpage changelog
	cd build/release && rm -f klienti_*.deb && cpack -G DEB

package-check:
	cmake --preset release $(GENERATOR) >/dev/null
	cmake --build --preset release --target klienti manpage changelog
	tests/package/check_install.sh build/release

# The builds only; the files in run/ are the user's (make clean-run clears them).
clean:
	rm -rf build

clean-run:
	rm -rf run

# Whole-job comparison with the GNU sort pipeline, sqlite3 and Miller on a
# generated file of a million clients (see bench/compare.sh for its options).
bench:
	bench/compare.sh

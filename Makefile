# Two entry points for a fresh clone:
#   make run   builds the tool in release mode and runs it on the bundled sample
#              in the scratch directory run/ (ignored by git), where its output
#              files land
#   make test  builds everything and runs every test
.PHONY: run test test-sanitize bench fuzz package clean

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

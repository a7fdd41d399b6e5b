# Entry points; the scripts under scripts/ install what they need and build.
.PHONY: run test build windows bench fuzz-long clean

run:
	@scripts/run.sh

test:
	@scripts/test-all.sh

build:
	@scripts/install-deps.sh core
	cmake -S . -B build >/dev/null
	cmake --build build -j$$(nproc)

bench:
	@scripts/bench.sh

clean:
	rm -rf build build-*

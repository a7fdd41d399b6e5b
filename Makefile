# Entry points; the scripts under scripts/ install what they need and build.
.PHONY: run test build windows web bench fuzz-long clean package install mutants mutants-check

run:
	@scripts/run.sh

test:
	@scripts/test-all.sh

build:
	@scripts/install-deps.sh core
	cmake -S . -B build >/dev/null
	cmake --build build -j$$(nproc)

# The Windows programs, cross-built with MinGW-w64: the 32-bit ones that ship,
# build-win32/app/marliva.exe and marliva-convert.exe, and the 64-bit ones in
# build-win64/app/.
windows:
	@scripts/build-windows.sh 32 marliva marliva-convert
	@scripts/build-windows.sh 64 marliva marliva-convert

# The page: build-web/marliva.html, the engine in one offline file built with
# emscripten, and its screenshot, docs/screenshot-web.png.
web:
	@scripts/build-web.sh
	@scripts/screenshot-web.sh

bench:
	@scripts/bench.sh

# Faults put into the sources one at a time: every one must make the native tests fail.
mutants:
	@scripts/mutants.sh

# Whether every fault of make mutants still finds its text, in a second
# (make test runs it first).
mutants-check:
	@scripts/mutants.sh --check

# Each fuzz harness for 30 minutes (MARLIVA_FUZZ_SECONDS=N for another time).
fuzz-long:
	@MARLIVA_FUZZ_SECONDS=$${MARLIVA_FUZZ_SECONDS:-1800} scripts/test-fuzz.sh

# The .deb of the Linux programs and the .zip of the 32-bit Windows programs.
package:
	@scripts/package.sh deb zip

# The Linux programs, their manual pages, desktop entry and icons under PREFIX
# (default /usr/local).
install:
	@scripts/package.sh install

clean:
	rm -rf build build-*

# Entry points for people and CI. Every target installs what it needs first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps build run test test-sanitize format clean

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	scripts/run-brindle $(BUILD)

# The Linux tests and, under Wine, the Windows tests, side by side (scripts/test-both).
test: build windows-tests
	JOBS=$(JOBS) scripts/test-both $(BUILD) $(WIN_BUILD)

# The headless tests once more with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=Debug -DBRINDLE_SANITIZE=ON -DBRINDLE_QT=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	ctest --test-dir $(BUILD)-sanitize --output-on-failure -j $(JOBS)

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize

# The Debian package installed with apt into a bare Debian 12 made by debootstrap, and the program
# run there: first screen, icons, fonts and the warning's chime. Downloads about 100 MB, so it is
# not part of test.
.PHONY: package-check
package-check: build
	scripts/install-deps packaging
	scripts/package-check $(BUILD)

# Benchmarks of timekeeping precision and footprint (about 12 minutes); writes bench/RESULTS.md.
# Not part of test: speed and size are measured there, never asserted.
.PHONY: bench
bench: deps
	bench/run build-bench

# The Windows program, cross-built with mingw-w64: dist/Brindle.exe with its chime beside it, and
# the download dist/Brindle-<version>-win64.zip with its SHA-256 sum.
WIN_BUILD ?= build-win
.PHONY: windows windows-tests test-windows
windows: deps
	cmake -S . -B $(WIN_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake -DCMAKE_BUILD_TYPE=MinSizeRel $(CMAKE_FLAGS)
	cmake --build $(WIN_BUILD) -j $(JOBS) --target Brindle brindle_zip
	mkdir -p dist
	cp $(WIN_BUILD)/app/win32/Brindle.exe app/resources/S_Timer.wav dist/
	rm -f dist/Brindle-*-win64.zip dist/Brindle-*-win64.zip.sha256
	cp $(WIN_BUILD)/app/win32/download/Brindle-*-win64.zip dist/
	cd dist && for zip in Brindle-*-win64.zip; do sha256sum "$$zip" >"$$zip.sha256"; done

# The Windows build with its tests.
windows-tests: windows
	cmake --build $(WIN_BUILD) -j $(JOBS)

# The Windows build's tests under Wine: the headless tests, the backend on real windows, the
# resources and Brindle.exe end to end. Part of test.
test-windows: windows-tests
	JOBS=$(JOBS) scripts/wine-tests $(WIN_BUILD)

# The long reliability runs of the real program (about 35 minutes): ten minutes of warnings, random
# use, the full sets of clock jumps, sleeps and broken chime files, on the program as built and on
# a sanitizer build. Prints the figures and the random seed to replay.
.PHONY: soak
soak: deps
	JOBS=$(JOBS) scripts/reliability-soak build-rel build-rel-asan

# make run: installs what is missing, builds, starts the dashboard.
# make test: installs what is missing, builds both programs, runs every test.
# make run-windows: TAVDashboard.exe under Wine.
# make bench: the Linux dashboard's running cost beside conky's (installs conky for it).
# make package: the Debian package (build/packages/) and the Windows installer (build-win64/packages/).
# make kill-test: a thousand starts of the Linux program killed while it rewrites its settings.
# make fuzz: the libFuzzer targets, 10 minutes each (FUZZ_SECONDS=...); make test runs them 20 s each.
BUILD := build
JOBS := $(shell nproc)

.PHONY: all setup build build-windows run run-windows test test-linux test-sanitize test-fuzz test-windows bench package kill-test fuzz clean

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: setup $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

build-windows: setup
	bash scripts/windows.sh build

run: build
	@bash scripts/run.sh

# TAVDashboard.exe under Wine.
run-windows: build-windows
	@bash scripts/windows.sh run

test: test-linux test-sanitize test-fuzz test-windows

test-linux: build
	cd $(BUILD) && ctest --output-on-failure

# The portable unit tests and the Linux platform tests again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
SANITIZE_BUILD := build-sanitize
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
test-sanitize: setup
	@[ -f $(SANITIZE_BUILD)/CMakeCache.txt ] || cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j$(JOBS) --target tav_unit_tests tav_linux_unit_tests
	$(SANITIZE_ENV) $(SANITIZE_BUILD)/tests/tav_unit_tests
	$(SANITIZE_ENV) $(SANITIZE_BUILD)/tests/tav_linux_unit_tests

# Parsers of what comes from outside (the settings file, the server's answers, typed mail
# fields) under libFuzzer with the same sanitizers, built with clang.
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 600
FUZZ_TARGETS := settings version download mail signature
fuzz: setup
	@[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

test-fuzz:
	$(MAKE) fuzz FUZZ_SECONDS=20

test-windows: build-windows
	bash scripts/windows.sh test

# Both are also built by make test, which installs them in its tests.
package: build build-windows
	cd $(BUILD) && cpack -G DEB
	@ls -l $(BUILD)/packages/*.deb build-win64/packages/*-setup.exe

kill-test: build
	/usr/bin/python3 tests/linux/kill_settings.py $(BUILD)/TAVDashboard 1000

bench: build
	@TAV_BENCH=1 bash scripts/setup.sh
	bash scripts/benchmark_linux.sh

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) build-win64 build-win32

# make run: installs what is missing, builds, starts the dashboard.
# make test: installs what is missing, builds both programs, runs every test.
# make run-windows: TAVDashboard.exe under Wine.
# make bench: the Linux dashboard's running cost beside conky's (installs conky for it).
# make package: the Debian package (build/packages/) and the Windows installer (build-win64/packages/).
BUILD := build
JOBS := $(shell nproc)

.PHONY: all setup build build-windows run run-windows test test-linux test-windows bench package clean

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

test: test-linux test-windows

test-linux: build
	cd $(BUILD) && ctest --output-on-failure

test-windows: build-windows
	bash scripts/windows.sh test

# Both are also built by make test, which installs them in its tests.
package: build build-windows
	cd $(BUILD) && cpack -G DEB
	@ls -l $(BUILD)/packages/*.deb build-win64/packages/*-setup.exe

bench: build
	@TAV_BENCH=1 bash scripts/setup.sh
	bash scripts/benchmark_linux.sh

clean:
	rm -rf $(BUILD) build-win64 build-win32

# make run: installs what is missing, builds, starts the dashboard.
# make test: installs what is missing, builds, runs every test.
BUILD := build
JOBS := $(shell nproc)

.PHONY: all setup build run test clean

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: setup $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@bash scripts/run.sh

test: build
	cd $(BUILD) && ctest --output-on-failure

clean:
	rm -rf $(BUILD)

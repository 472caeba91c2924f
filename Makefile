# make run    installs what is missing, builds, starts Corvane on the default simulated computer
# make check  installs what is missing, builds, runs every test (also the Windows build under Wine)
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps build run check bench format

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

check: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	bash scripts/check-windows.sh

bench: build
	$(BUILD)/corvane_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

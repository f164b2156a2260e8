# The two commands: `make play` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps build play test bench clean

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

play: build
	./$(BUILD)/brawnwick

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	./$(BUILD)/bench/bench_render

clean:
	rm -rf $(BUILD)

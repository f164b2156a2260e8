# The two commands: `make play` and `make test`. Both install what is missing first.
# Also: `make fuzz` (long fuzzing), `make soak` (long level-loop soak), `make valgrind`
# (the memcheck session alone; `make test` runs it too), `make package` (the .deb).
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 20
FUZZ_LONG_SECONDS ?= 600
SOAK_FRAMES ?= 100000

# Any sanitizer report ends the process with an error; the leak check skips only what
# tests/sanitizers/lsan.supp names (reports from inside the libraries, not from our code).
SANITIZER_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: deps build asan-build play test package package-check fuzz soak valgrind valgrind-run bench clean

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# The whole project again with AddressSanitizer and UndefinedBehaviorSanitizer, with clang,
# so that the libFuzzer targets share the build.
asan-build: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DBRAWNWICK_SANITIZE=ON -DBRAWNWICK_FUZZ=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)

play: build
	./$(BUILD)/brawnwick

test: build asan-build package-check
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j$(JOBS)
	$(SANITIZER_ENV) bash tests/fuzz/run.sh $(ASAN_BUILD) $(FUZZ_SECONDS)
	$(MAKE) --no-print-directory valgrind-run

# brawnwick_<version>_amd64.deb in $(BUILD)/, made by CPack from the install rules.
package: build
	rm -f $(BUILD)/brawnwick_*.deb
	cmake --build $(BUILD) --target package

# The unpacked package: its menu entry and AppStream data validate, every icon is a sound RGBA
# PNG of its size, and lintian finds nothing to warn about. The end-to-end test that plays the
# unpacked package runs with the other tests.
PKG_TREE = $(BUILD)/package-tree
package-check: package
	rm -rf $(PKG_TREE) && dpkg -x $(BUILD)/brawnwick_*.deb $(PKG_TREE)
	desktop-file-validate $(PKG_TREE)/usr/share/applications/*.desktop
	appstreamcli validate-tree --no-net $(PKG_TREE)
	for n in 16 22 32 48 64 128 256; do \
	  pngcheck $(PKG_TREE)/usr/share/icons/hicolor/$${n}x$$n/apps/brawnwick.png | grep "^OK: .*($${n}x$$n, 32-bit RGB+alpha" \
	    || { echo "no sound $${n}x$$n icon"; exit 1; }; done
	lintian --fail-on error,warning $(BUILD)/brawnwick_*.deb

fuzz: asan-build
	$(SANITIZER_ENV) bash tests/fuzz/run.sh $(ASAN_BUILD) $(FUZZ_LONG_SECONDS)

soak: build
	./$(BUILD)/tests/soak_level $(SOAK_FRAMES) 256

valgrind: build
	$(MAKE) --no-print-directory valgrind-run

valgrind-run:
	bash tests/valgrind/run.sh $(CURDIR)/$(BUILD)

bench: build
	./$(BUILD)/bench/bench_render
	./$(BUILD)/bench/bench_frame

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# The commands people type. Each one configures and builds what it needs first.
JOBS ?= $(shell nproc)

.PHONY: all deps build test test-asan fuzz bench clean

all: test

deps:
	@bash .ci/deps

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

test: build
	ctest --preset default

# The unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, then a short run of
# every fuzz target over its seed corpus.
test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan
	$(MAKE) fuzz

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	ctest --preset fuzz

bench: build
	@for b in build/default/bench/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf build

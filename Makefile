# The commands people type. Each one configures and builds what it needs first.
JOBS ?= $(shell nproc)

.PHONY: all deps build gallery test test-x11 test-asan fuzz fuzz-hunt bench clean

all: test

deps:
	@bash .ci/deps

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

# The gallery: a window on a desktop, gallery.png without one.
gallery: build
	./build/default/apps/gallery/kvl-gallery

test: build
	ctest --preset default

# Only the real-window test (needs Xvfb, xdotool, xwd and xclip: `bash .ci/deps test`).
test-x11: build
	ctest --preset default -L x11 --output-on-failure

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

# Longer runs with fresh seeds: make fuzz-hunt SECONDS=300
fuzz-hunt: fuzz
	bash fuzz/hunt.sh $(or $(SECONDS),120)

bench: build
	@for b in build/default/bench/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf build

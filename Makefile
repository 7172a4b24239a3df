# Front door: make play | make edit | make test | make deps
#             make install [PREFIX=/usr/local] [DESTDIR=...] | make package
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 30
PREFIX     ?= /usr/local
DESTDIR    ?=

CMAKE_FLAGS ?=
# Warnings are errors in every build made through these targets (and so in CI).
WERROR = -DBBX_WERROR=ON
CTEST = ctest --output-on-failure -j $(JOBS)

.PHONY: deps build play edit test test-fast test-asan fuzz bench install package clean

deps:
	@tools/scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

play: build
	@if [ -x $(BUILD)/bin/GlimmerBay ]; then cd $(BUILD)/bin && ./GlimmerBay; \
	else echo "The game is not built yet: there is no $(BUILD)/bin/GlimmerBay." >&2; exit 1; fi

edit: build
	@if [ -x $(BUILD)/bin/bbxedit ]; then cd $(BUILD)/bin && ./bbxedit; \
	else echo "The editor is not built yet: there is no $(BUILD)/bin/bbxedit." >&2; exit 1; fi

# Everything CI runs: the tests in a normal build, again under the
# sanitizers, and each fuzzer for a bounded time.
test: test-fast test-asan fuzz

test-fast: build
	cd $(BUILD) && $(CTEST)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DBBX_SANITIZE=ON $(WERROR) $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 $(CTEST)

fuzz: deps
	CXX=clang++ CC=clang cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBBX_FUZZ=ON $(WERROR)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	tools/scripts/run-fuzzers.sh $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS)

# The programs, the game's data, desktop files, icons and manual pages into
# $(DESTDIR)$(PREFIX); the build stays as it was configured.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# A Debian package of the same (for /usr) in $(BUILD)/.
package: build
	cd $(BUILD) && cpack

bench: build
	@for b in $(BUILD)/bench/*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

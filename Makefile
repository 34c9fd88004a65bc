# The two commands of the README: `make run` and `make test`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
RELEASE_BUILD ?= build-release
# Leaks of system libraries the sanitizer build must not blame on the game (see the file).
export LSAN_OPTIONS ?= suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0

.PHONY: deps build build-asan build-release run test test-fast monkey soak format clean balance \
	campaign campaign-asan install package test-release units-doc

# The package check asks dpkg (and maybe sudo apt-get) about every package, so it runs once and
# leaves a stamp; it runs again when install-deps changes or the stamp is removed.
DEPS_STAMP := .deps-installed
deps: $(DEPS_STAMP)

$(DEPS_STAMP): scripts/install-deps
	./scripts/install-deps
	@touch $@

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The sanitizer build is also the clang build, so the suite runs under both compilers.
$(ASAN_BUILD)/CMakeCache.txt: | deps
	CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DNEVALT_SANITIZE=ON

$(RELEASE_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	@grep -q '^CMAKE_CXX_COMPILER:.*clang' $(ASAN_BUILD)/CMakeCache.txt || { \
	  echo "$(ASAN_BUILD) was configured with another compiler than clang: remove it first"; \
	  exit 1; }
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target nevalt_tests nevalt

# GCC optimises harder in Release and warns otherwise there; CI builds every target of it so
# that the configuration keeps compiling.
build-release: deps $(RELEASE_BUILD)/CMakeCache.txt
	cmake --build $(RELEASE_BUILD) -j $(JOBS)

run: build
	$(BUILD)/nevalt --data $(BUILD)/data $(ARGS)

# Installs the game under PREFIX (DESTDIR=... stages it elsewhere, as packagers do).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package of the same files, written to $(BUILD)/nevalt_VERSION_ARCH.deb.
package: build
	cmake --build $(BUILD) --target package

# The whole suite, in the normal build (GCC) and again with clang under AddressSanitizer + UBSan.
test: build build-asan
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)

# The suite in the GCC Release build, which optimises harder and so warns where the others do not.
test-release: build-release
	cd $(RELEASE_BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)

# Only the normal build, for a quick check while working.
test-fast: build
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)

# Every stage played by the built-in player over several seeds; writes docs/balance.md.
# BALANCE_ARGS passes options to tools/balance (--seeds N, --first/--last STAGE, --jobs N, ...).
balance: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target nevalt balance nevalt_assets
	$(BUILD)/tools/balance/balance --jobs $(JOBS) $(BALANCE_ARGS)

# docs/units.md written again from the game's own tables (the test units_doc_current fails while
# the committed page differs from them).
units-doc: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target units_doc

# One campaign from "Start" through the ending and back to the intermission, headless (long).
campaign: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target nevalt balance nevalt_assets
	$(BUILD)/tools/balance/balance --campaign --ticks 20000000 $(BALANCE_ARGS)

# The same campaign in the sanitizer build: slower, and any sanitizer report fails it.
campaign-asan: build-asan
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target balance nevalt_assets
	$(ASAN_BUILD)/tools/balance/balance --campaign --ticks 20000000 $(BALANCE_ARGS)

# The long monkey: random play over the whole game in the sanitizer build, the invariants checked
# after every pass, with long stretches of the built-in player in between. MONKEY_PASSES,
# MONKEY_SEED and MONKEY_ARGS choose the run.
MONKEY_PASSES ?= 200000
MONKEY_SEED ?= 1
MONKEY_ARGS ?= --bot
monkey: build-asan
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target nevalt_monkey
	cd $(ASAN_BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
	  ./tests/monkey/nevalt_monkey --passes $(MONKEY_PASSES) --seed $(MONKEY_SEED) $(MONKEY_ARGS)

# The soak: the built-in player plays the campaign three times in one process; the resident
# memory at every stage start must stay flat.
soak: build
	cmake --build $(BUILD) -j $(JOBS) --target nevalt_soak
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./tests/soak/nevalt_soak --campaigns 3

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD)

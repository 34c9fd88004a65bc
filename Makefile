# The two commands of the README: `make run` and `make test`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
# Leaks of system libraries the sanitizer build must not blame on the game (see the file).
export LSAN_OPTIONS ?= suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0

.PHONY: deps build build-asan run test test-fast monkey soak format clean balance campaign \
	campaign-asan install package

deps:
	@./scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(ASAN_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DNEVALT_SANITIZE=ON

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target nevalt_tests nevalt

run: build
	$(BUILD)/nevalt --data $(BUILD)/data $(ARGS)

# Installs the game under PREFIX (DESTDIR=... stages it elsewhere, as packagers do).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package of the same files, written to $(BUILD)/nevalt_VERSION_ARCH.deb.
package: build
	cmake --build $(BUILD) --target package

# The whole suite, in the normal build and again under AddressSanitizer + UBSan.
test: build build-asan
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)

# Only the normal build, for a quick check while working.
test-fast: build
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)

# Every stage played by the built-in player over several seeds; writes docs/balance.md.
# BALANCE_ARGS passes options to tools/balance (--seeds N, --first/--last STAGE, --jobs N, ...).
balance: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target nevalt balance nevalt_assets
	$(BUILD)/tools/balance/balance --jobs $(JOBS) $(BALANCE_ARGS)

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
	rm -rf $(BUILD) $(ASAN_BUILD)

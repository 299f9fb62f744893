# Scopella: the two commands a new user needs, and a few more.
#   make run    builds Scopella and starts it (installs what is missing)
#   make test   builds Scopella and runs every test headless
#   make install / make uninstall   Scopella for this user (~/.local), no root
#                                   (PURGE=1: the settings' Wine prefix too)
#   make package                    Windows zip and installers into dist/
#   make monkey [SEED=n] [EVENTS=n] random real input (default 20000 events)
#   make soak [SEED=n] [MINUTES=n]  resource use over a long run (default 60)
#   make fuzz [SEED=n] [COUNT=n]    starts with damaged settings (default 500)
# The long runs draw a fresh seed and print it; SEED=n replays one. The test
# command runs the fixed seeds kept in tests/e2e/reliability.py.
.PHONY: run test build build32 bench clean install uninstall package monkey soak fuzz

run:
	scripts/run.sh

test:
	scripts/test.sh

build:
	scripts/install-deps.sh
	cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build build

build32:
	scripts/install-deps.sh
	cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DSCOPELLA_TESTS=OFF
	cmake --build build-win32

bench:
	scripts/bench.sh

monkey:
	SCOPELLA_SEED=$(or $(SEED),random) SCOPELLA_MONKEY_EVENTS=$(or $(EVENTS),20000) scripts/test.sh --long test_monkey

soak:
	SCOPELLA_SEED=$(or $(SEED),random) SCOPELLA_SOAK_SECONDS=$$(( $(or $(MINUTES),60) * 60 )) scripts/test.sh --long test_soak

fuzz:
	SCOPELLA_SEED=$(or $(SEED),random) SCOPELLA_FUZZ_STARTS=$(or $(COUNT),500) scripts/test.sh --long test_settings_fuzz

install:
	scripts/install.sh install

uninstall:
	PURGE=$(PURGE) scripts/install.sh uninstall

package:
	scripts/package.sh

clean:
	rm -rf build build-win32 build-package dist

# Scopella: the two commands a new user needs, and a few more.
#   make run    builds Scopella and starts it (installs what is missing)
#   make test   builds Scopella and runs every test headless
#   make install / make uninstall   Scopella for this user (~/.local), no root
#   make package                    Windows zip and installers into dist/
.PHONY: run test build build32 bench clean install uninstall package

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

install:
	scripts/install.sh install

uninstall:
	scripts/install.sh uninstall

package:
	scripts/package.sh

clean:
	rm -rf build build-win32 build-package dist

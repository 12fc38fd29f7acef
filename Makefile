# make run: install what is missing, build, start the program.  make test: the same, then every test.
# make install: install what `make` built into PREFIX (default /usr/local); it builds nothing, so
# `make && sudo make install` leaves the build folder to its owner.  make package: the Debian package.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo -G Ninja)

.PHONY: all deps configure build run test install package bench clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) --parallel

run: build
	$(BUILD)/src/tesvarin $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure --parallel 2

install:
	@test -f $(BUILD)/cmake_install.cmake || { echo "Run make first."; exit 1; }
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

package: build
	cmake --build $(BUILD) --target package

bench:
	@scripts/install-deps.sh --bench
	cmake -S . -B build-bench $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DTESVARIN_BENCH=ON -DTESVARIN_TESTS=OFF
	cmake --build build-bench --parallel

clean:
	rm -rf $(BUILD) build-asan build-bench build-fuzz

# Cadrix 2. `make run` and `make test` install what is missing, build, and go.
BUILD ?= build
JOBS ?= 2
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build test run bench fuzz screenshots install package clean

all: build

deps:
	bash scripts/install-deps.sh

# CI=true turns warnings into errors (CADRIX_WERROR follows it when not given).
CMAKE_FLAGS ?=

configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: deps
	$(MAKE) build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

run: deps
	$(MAKE) build
	bash scripts/run.sh $(BUILD)

bench: deps
	$(MAKE) build CMAKE_FLAGS="$(CMAKE_FLAGS) -DCADRIX_BENCH=ON"
	bash bench/run.sh $(BUILD)

fuzz: deps
	bash scripts/fuzz.sh $(FUZZ_SECONDS)

screenshots: deps
	$(MAKE) build
	bash scripts/screenshots.sh $(BUILD)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the programs, their manual pages, the desktop entry,
# the metainfo and the icons, built hardened in $(BUILD)/package.
package: deps
	bash scripts/build-package.sh $(BUILD)/package

clean:
	rm -rf $(BUILD)

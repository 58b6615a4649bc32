# The two commands that matter: `make run` and `make test`. Both install the
# Debian packages first (quietly, only when something is missing).
BUILD_TEST  ?= build/test
BUILD_REL   ?= build/release
BUILD_BENCH ?= build/bench
JOBS        ?= $(shell nproc)
CMAKE_GEN    = -G Ninja

.PHONY: all deps run test test-asan bench clean release package

all: release

deps:
	@bash scripts/install-deps.sh

$(BUILD_REL)/build.ninja: | deps
	cmake -S . -B $(BUILD_REL) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVIMO_TESTS=OFF

release: deps $(BUILD_REL)/build.ninja
	cmake --build $(BUILD_REL) -j $(JOBS)

run: release
	@bash scripts/run.sh $(BUILD_REL)/bin

# Tests always run under AddressSanitizer and UndefinedBehaviorSanitizer.
$(BUILD_TEST)/build.ninja: | deps
	cmake -S . -B $(BUILD_TEST) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKORVIMO_SANITIZE=ON \
	      -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"

test: deps $(BUILD_TEST)/build.ninja
	cmake --build $(BUILD_TEST) -j $(JOBS)
	cd $(BUILD_TEST) && ctest --output-on-failure -j $(JOBS) --timeout 300

test-asan: test

$(BUILD_BENCH)/build.ninja: | deps
	cmake -S . -B $(BUILD_BENCH) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKORVIMO_TESTS=OFF -DKORVIMO_BENCH=ON

bench: deps $(BUILD_BENCH)/build.ninja
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	@for b in $(BUILD_BENCH)/bin/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

# The Debian package, from the release build: build/release/korvimo_*.deb.
# scripts/package-check.sh installs and tries it.
package: deps $(BUILD_REL)/build.ninja
	@bash scripts/install-deps.sh dpkg-dev file appstream
	appstreamcli validate --no-net packaging/org.korvimo.Korvimo.metainfo.xml
	cmake --build $(BUILD_REL) -j $(JOBS)
	cd $(BUILD_REL) && cpack -G DEB

clean:
	rm -rf build

# The two commands of the README.
JOBS ?= $(shell nproc)

FUZZ_SECONDS ?= 60
# The smoke run of the fuzz targets within make test, shared among them; its seed is fixed so
# that it tries the same inputs on every machine.
FUZZ_SMOKE_SECONDS ?= 55

.PHONY: run test build build-test build-fuzz fuzz bench format deps deps-test deps-bench deb

run: deps build
	./build/bin/tavelvaxlaren

test: deps-test build-test build-fuzz
	./scripts/run-tests.sh build-test
	FUZZ_SEED=1 ./scripts/run-fuzz.sh build-fuzz $(FUZZ_SMOKE_SECONDS)/all

fuzz: deps-test build-fuzz
	./scripts/run-fuzz.sh build-fuzz $(FUZZ_SECONDS)

deps:
	./scripts/install-deps.sh

deps-test:
	./scripts/install-deps.sh --test

deps-bench:
	./scripts/install-deps.sh --bench

build:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTAVLIX_TESTS=OFF -DTAVLIX_WERROR=OFF
	cmake --build build -j$(JOBS)

build-test:
	cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DTAVLIX_SANITIZE=ON -DTAVLIX_TESTS=ON -DTAVLIX_WERROR=ON
	cmake --build build-test -j$(JOBS)

# The fuzz targets: clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
build-fuzz:
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTAVLIX_FUZZ=ON
	cmake --build build-fuzz -j$(JOBS) --target fuzzers

bench: deps-bench
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTAVLIX_TESTS=OFF -DTAVLIX_BENCH=ON
	cmake --build build-bench -j$(JOBS)
	@for b in build-bench/bin/bench_*; do echo "== $$b"; $$b; done

# A Debian package in this folder, built with Debian's hardening flags and checked by lintian.
deb: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
deb:
	./scripts/install-deps.sh --deb
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DTAVLIX_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build build-deb -j$(JOBS)
	cd build-deb && cpack --config CPackConfig.cmake
	cp build-deb/tavelvaxlaren_*.deb .
	lintian --fail-on error tavelvaxlaren_*.deb

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

# The two commands of the README.
JOBS ?= $(shell nproc)

.PHONY: run test build build-test bench format deps deps-test

run: deps build
	./build/bin/tavelvaxlaren

test: deps-test build-test
	./scripts/run-tests.sh build-test

deps:
	./scripts/install-deps.sh

deps-test:
	./scripts/install-deps.sh --test

build:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTAVLIX_TESTS=OFF -DTAVLIX_WERROR=OFF
	cmake --build build -j$(JOBS)

build-test:
	cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DTAVLIX_SANITIZE=ON -DTAVLIX_TESTS=ON -DTAVLIX_WERROR=ON
	cmake --build build-test -j$(JOBS)

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTAVLIX_TESTS=OFF -DTAVLIX_BENCH=ON
	cmake --build build-bench -j$(JOBS)
	@for b in build-bench/bin/bench_*; do echo "== $$b"; $$b; done

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

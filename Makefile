# Two commands for a fresh Debian or Ubuntu machine: `make run` and `make test`.
BUILD ?= build
PACKAGES = cmake g++ make pkg-config qt6-base-dev qt6-svg-dev qt6-webengine-dev libgl-dev \
           fonts-liberation xvfb xauth
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test bench clean

all: build

# Installs the Debian packages that are missing; does nothing when all are there.
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/tarnwell

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)

# --- Run-time checks: the test suite under sanitizers, and the fuzz targets -------------------------
# `make test-sanitizers` builds everything again in build-asan with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test; the first error stops the test that made it.
ASAN_BUILD ?= build-asan
SANITIZER_ENV = ASAN_OPTIONS=halt_on_error=1:print_stacktrace=1:detect_leaks=1 \
                UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 LSAN_OPTIONS=print_suppressions=0

# `make fuzz` builds the libFuzzer targets with clang in build-fuzz and runs each for FUZZ_SECONDS.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_PACKAGES = clang libclang-rt-14-dev

.PHONY: test-sanitizers fuzz

test-sanitizers: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTARNWELL_SANITIZE=address,undefined
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

fuzz: deps
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DTARNWELL_SANITIZE=fuzzer-no-link,address,undefined -DTARNWELL_FUZZ=ON
	cmake --build $(FUZZ_BUILD) --target fuzz_targets -j $(JOBS)
	tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

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

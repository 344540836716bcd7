# Two commands for a fresh Debian or Ubuntu machine: `make run` and `make test`.
BUILD ?= build
PACKAGES = cmake g++ make pkg-config qt6-base-dev qt6-svg-dev qt6-webengine-dev libgl-dev libssl-dev \
           fonts-liberation xvfb xauth
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
JOBS := $(shell nproc 2>/dev/null || echo 2)
# cmake --build runs make again below this one; its "Entering directory" lines say nothing new.
MAKEFLAGS += --no-print-directory

.PHONY: all deps test-deps configure build run test bench clean

# A build folder copied along with the sources still names the folder it was made for, and CMake
# would go on building that one: stop instead, and say what to do.
CACHE_HOME := $(shell sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' $(BUILD)/CMakeCache.txt 2>/dev/null)
ifneq ($(CACHE_HOME),)
ifneq ($(realpath $(CACHE_HOME)),$(realpath $(CURDIR)))
ifeq ($(filter clean,$(MAKECMDGOALS)),)
$(error $(BUILD) was configured for the sources in $(CACHE_HOME), not for these in $(CURDIR). Run "make clean" (or pass another BUILD=folder) and try again)
endif
endif
endif

all: build

# Installs the Debian packages that are missing; does nothing when all are there.
# $(call install-missing,PACKAGE...)
define install-missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Configured once; from then on the build itself re-runs CMake when a CMakeLists.txt changes.
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# Only the program and its banner module, then the program.
run: deps $(BUILD)/CMakeCache.txt
	@cmake --build $(BUILD) --target program -j $(JOBS)
	@./$(BUILD)/tarnwell

# What only the tests need: a file system of their own that stalls (FUSE).
TEST_PACKAGES = fuse3 libfuse3-dev

test-deps:
	$(call install-missing,$(TEST_PACKAGES))

test: test-deps build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# What only the benchmarks need: the reference digest and the memory figures.
BENCH_PACKAGES = openssl time

bench: build
	$(call install-missing,$(BENCH_PACKAGES))
	cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-asan build-fuzz $(WINDOWS_BUILD)

# --- Installing, packaging, and the checks of both and of the Windows sources ---
PREFIX ?= /usr/local
# What `make package` and the checks need beyond the build.
PACKAGING_PACKAGES = dpkg-dev file desktop-file-utils appstream lintian

.PHONY: install package check-install check-package

# The program, its module, its icons and pages; then into PREFIX (and DESTDIR, when given).
install: deps $(BUILD)/CMakeCache.txt
	@cmake --build $(BUILD) --target installable -j $(JOBS)
	@target="$(DESTDIR)$(PREFIX)"; while [ ! -d "$$target" ]; do target=$$(dirname "$$target"); done; \
	if [ -w "$$target" ]; then cmake --install $(BUILD) --prefix "$(PREFIX)"; \
	else sudo cmake --install $(BUILD) --prefix "$(PREFIX)"; fi

# build/tarnwell_<version>_<arch>.deb and build/tarnwell-banner_<version>_<arch>.deb.
package: deps $(BUILD)/CMakeCache.txt
	$(call install-missing,$(PACKAGING_PACKAGES))
	@cmake --build $(BUILD) --target installable -j $(JOBS)
	cd $(BUILD) && cpack

check-install: build
	$(call install-missing,$(PACKAGING_PACKAGES))
	packaging/check-install.sh $(BUILD)

check-package: package
	@for deb in $(BUILD)/*.deb; do echo "== $$deb"; dpkg-deb --field "$$deb" Package Version Depends Recommends; \
		dpkg-deb --contents "$$deb"; done
	lintian --fail-on error $(BUILD)/*.deb

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

# --- The program as a screen reader meets it --------------------------------------------------------
# `make check-accessibility` starts the real window under Xvfb on a session bus of its own and walks
# its objects over AT-SPI: every object that takes the focus must have a name.
ACCESSIBILITY_PACKAGES = dbus at-spi2-core python3-pyatspi xvfb xauth

.PHONY: check-accessibility

check-accessibility: build
	$(call install-missing,$(ACCESSIBILITY_PACKAGES))
	tests/accessibility/run.sh $(BUILD)

# --- Windows: the same CMake files cross-built with MinGW and a Windows Qt, tested under Wine ---------
# `make windows` builds the program and every test into build-windows; `make test-windows` runs CTest
# there, each program under Wine; `make windows-package` makes build-windows/Tarnwell-<version>-win64.zip.
# The Windows Qt comes from QT_MINGW (an unpacked qt6-mingw folder) or is unpacked from the archive
# in ../shared/toolchains into the build folder.
WINDOWS_BUILD ?= build-windows
WINDOWS_PACKAGES = cmake ninja-build qt6-base-dev qt6-base-dev-tools g++-mingw-w64-x86-64-posix wine64 \
                   fonts-liberation zip unzip xvfb xauth x11-utils
QT_MINGW_ARCHIVE ?= ../shared/toolchains/qt6-mingw-6.4.2.tar.xz
QT_MINGW ?= $(abspath $(WINDOWS_BUILD))/qt6-mingw

.PHONY: windows test-windows windows-package

$(QT_MINGW)/bin/qt-cmake:
	@if [ ! -f "$(QT_MINGW_ARCHIVE)" ]; then \
		echo "No Windows Qt: give QT_MINGW=<an unpacked qt6-mingw folder>, or put qt6-mingw-6.4.2.tar.xz"; \
		echo "(Qt 6.4.2 for 64-bit Windows built with MinGW-w64; see the README) at $(QT_MINGW_ARCHIVE)."; \
		exit 1; \
	fi
	@case "$(QT_MINGW)" in "$(abspath $(WINDOWS_BUILD))/qt6-mingw") ;; \
		*) echo "QT_MINGW=$(QT_MINGW) holds no bin/qt-cmake"; exit 1;; esac
	mkdir -p $(WINDOWS_BUILD)
	tar -C $(WINDOWS_BUILD) -xJf $(QT_MINGW_ARCHIVE)

$(WINDOWS_BUILD)/build.ninja: | $(QT_MINGW)/bin/qt-cmake
	$(QT_MINGW)/bin/qt-cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DQT_CHAINLOAD_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw64.cmake \
		-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake

windows:
	$(call install-missing,$(WINDOWS_PACKAGES))
	@$(MAKE) $(WINDOWS_BUILD)/build.ninja
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

test-windows: windows
	cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)

# The zip, then listed, unpacked outside the build tree and started there under Wine.
windows-package: windows
	cmake --build $(WINDOWS_BUILD) --target windows_package
	packaging/check-windows-package.sh $(WINDOWS_BUILD)

# The README's interface: `make` builds, `make run` starts the engine in play/, `make test` tests.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
TSAN_DIR ?= build-tsan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# The tests that drive the two threads: the protocol, engine turns, GUI sequences and the book.
TSAN_TESTS = Protocol|EngineControl|GuiCommands|GuiSequences|GuiSession|Uci|BookTest.TheEngine

# make PGO=0: the plain Release build, without the instrumented build and training run that
# profile feedback needs.
PGO ?= 1
PGO_DIR ?= build-pgo
ifeq ($(PGO),0)
release = cmake -S . -B $(1) -DCMAKE_BUILD_TYPE=Release -DVELKOR_PGO_USE= $(2) && cmake --build $(1) -j $(JOBS)
else
release = packaging/pgo_build.sh $(1) $(PGO_DIR) $(JOBS) $(2)
endif

PREFIX ?= /usr/local
PACKAGE_DIR ?= build-package
WINDOWS_DIR ?= build-windows

.PHONY: all build run test test-sanitize test-tsan fuzz install package windows windows-zip test-windows clean

all: build

build:
	$(call release,$(BUILD_DIR))

run: build
	cd play && ../$(BUILD_DIR)/velkor

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

test-sanitize:
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKOR_SANITIZE=ON -DVELKOR_WERROR=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS) -LE slow

# Installs into PREFIX (under DESTDIR when it is set), with the layout Debian uses for games.
install:
	$(call release,$(BUILD_DIR),-DCMAKE_INSTALL_PREFIX=$(PREFIX))
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR)

# A .deb for /usr, written into $(BUILD_DIR); its dependencies come from dpkg-shlibdeps.
package:
	$(call release,$(PACKAGE_DIR),-DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF)
	mkdir -p $(BUILD_DIR)
	cd $(PACKAGE_DIR) && cpack -G DEB -B $(abspath $(BUILD_DIR))
	rm -rf $(BUILD_DIR)/_CPack_Packages

# velkor.exe and velkor-tool.exe for 64-bit Windows, cross-built with MinGW-w64 and linked
# statically; the zip holds them with the book, the README and the licence.
windows:
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=packaging/mingw-w64.cmake -DBUILD_TESTING=OFF
	cmake --build $(WINDOWS_DIR) -j $(JOBS) --target velkor velkor-tool

windows-zip: windows
	cmake --build $(WINDOWS_DIR) --target windows-zip

# The Windows build under Wine: protocol, perft, bench and game files against the Linux build.
test-windows: build windows
	tests/windows/wine_check.sh $(WINDOWS_DIR) $(BUILD_DIR)

# ThreadSanitizer: the thread tests, then one refereed xboard game, with every report written to
# $(TSAN_DIR)/reports; any report fails the target.
test-tsan:
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKOR_TSAN=ON -DVELKOR_WERROR=ON
	cmake --build $(TSAN_DIR) -j $(JOBS)
	rm -rf $(TSAN_DIR)/reports && mkdir -p $(TSAN_DIR)/reports
	TSAN_OPTIONS="log_path=$(abspath $(TSAN_DIR))/reports/tsan second_deadlock_stack=1" \
		ctest --test-dir $(TSAN_DIR) --output-on-failure -j $(JOBS) -R '$(TSAN_TESTS)'
	TSAN_OPTIONS="log_path=$(abspath $(TSAN_DIR))/reports/tsan second_deadlock_stack=1" \
		tests/e2e/xboard_match.sh $(TSAN_DIR)/velkor 1 0:20 0.2 true
	@if ls $(TSAN_DIR)/reports/tsan* >/dev/null 2>&1; then \
		echo "ThreadSanitizer reports:"; head -50 $(TSAN_DIR)/reports/tsan*; exit 1; fi
	@echo "ThreadSanitizer: no reports"

# libFuzzer targets (clang): each runs FUZZ_SECONDS over its corpus; any finding fails.
fuzz:
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVELKOR_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	tests/fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(PGO_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(FUZZ_DIR) $(PACKAGE_DIR) $(WINDOWS_DIR)

# Daily work: wraps CMake and Ninja. Installs nothing (script/bootstrap does).
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all configure build run test clean format

all: build

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/kalvo

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# The Debian package, in $(BUILD_DIR)/kalvo_<version>_<arch>.deb (CPack; dependencies by dpkg-shlibdeps).
.PHONY: package
package: build
	cmake --build $(BUILD_DIR) --target package

clean:
	rm -rf $(BUILD_DIR)

# Benchmarks: kalvo-journal against wc -l and a flushed copy on generated logs, a correction against a prune
# and a statement for a month against the totals; the call-log window on 100 000 calls (first period, period
# switches, memory); Kalvo's start-up (time to its window, memory) against an empty Qt window, under Xvfb.
.PHONY: bench
bench: configure
	cmake --build $(BUILD_DIR) --target kalvo-journal kalvo-journal-genere kalvo-journal-corrige kalvo \
		kalvo-fenetre-vide kalvo-mesure-demarrage kalvo-bench-reglages kalvo-bench-journal
	sh bench/journal.sh $(BUILD_DIR)/bin
	sh bench/fenetre_journal.sh $(BUILD_DIR)/bin
	sh bench/demarrage.sh $(BUILD_DIR)/bin
	$(BUILD_DIR)/bin/kalvo-bench-reglages

# Fuzzing of the core's parsers with libFuzzer, ASan and UBSan: a clang project of its own, no Qt.
# `make fuzz` runs each target FUZZ_SECONDS; `make fuzz-smoke` a short, fixed-seed run for CI.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 300
FUZZ_SMOKE_SECONDS ?= 20

.PHONY: fuzz-build fuzz fuzz-smoke
fuzz-build:
	cmake -S tests/fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_DIR) -j $(JOBS)

fuzz: fuzz-build
	sh tests/fuzz/lance.sh $(FUZZ_DIR)/bin $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	sh tests/fuzz/lance.sh $(FUZZ_DIR)/bin $(FUZZ_DIR) $(FUZZ_SMOKE_SECONDS) smoke

# Every test, windows included, under AddressSanitizer and UndefinedBehaviorSanitizer, in a folder of its
# own. Any report fails the test; leaks inside system libraries are suppressed by tests/lsan.supp.
SANITIZE_DIR ?= build-sanitize
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all

.PHONY: test-sanitize
test-sanitize:
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
		ctest --output-on-failure -j $(JOBS)

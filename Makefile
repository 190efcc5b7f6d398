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

clean:
	rm -rf $(BUILD_DIR)

# Call-log benchmark: kalvo-journal against wc -l and a flushed copy on generated logs.
.PHONY: bench
bench: configure
	cmake --build $(BUILD_DIR) --target kalvo-journal kalvo-journal-genere
	sh bench/journal.sh $(BUILD_DIR)/bin

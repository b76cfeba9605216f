# Thin wrapper: installs what is missing, configures with Ninja, builds, then runs or tests.
BUILD      ?= build
ASAN_BUILD ?= build-asan
CMAKE_ARGS ?=

.PHONY: all deps configure build run package test test-asan fuzz install contact-sheet clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS)

configure: $(BUILD)/build.ninja

build: deps configure
	@cmake --build $(BUILD)

run: build
	@cd $(BUILD) && ./kesmir

# The Debian package and the tarball of the installed tree, in the build folder.
package: build
	@cd $(BUILD) && cpack

test: package
	@ctest --test-dir $(BUILD) --output-on-failure
	@$(MAKE) --no-print-directory test-asan
	@scripts/fuzz 30

# The unit tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESMIR_SANITIZE=ON -DKESMIR_UNIT_TESTS_ONLY=ON >/dev/null
	@cmake --build $(ASAN_BUILD)
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(ASAN_BUILD) --output-on-failure -L unit

# Every fuzzer for five minutes from its seeds (make test gives each 30 seconds).
fuzz: deps
	@scripts/fuzz 300

contact-sheet: build
	@cmake --build $(BUILD) --target contact-sheet

install: build
	@cmake --install $(BUILD)

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD)

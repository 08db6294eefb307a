# Fyrel: the two set-up commands are `make run` and `make test`.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run demo test test-asan bench clean assets-preview

all: build

deps:
	@bash scripts/install-deps.sh

configure:
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: deps build
	@bash scripts/run-game.sh $(BUILD_DIR)/run

# The bot plays a whole game without a screen; pictures and a GIF land in $(BUILD_DIR)/demo.
demo: deps build
	@bash scripts/demo.sh $(BUILD_DIR)

test: deps build
	@bash scripts/with-display.sh ctest --test-dir $(BUILD_DIR) --output-on-failure

# Every file the game reads, broken in every way in turn (about 300 runs of the game); the table
# goes to <build>/hostile-report.md. FYREL_RUN_DIR=<other build>/run checks another build.
.PHONY: hostile
hostile: deps build
	@FYREL_RUN_DIR=$${FYREL_RUN_DIR:-$(BUILD_DIR)/run} bash scripts/with-display.sh \
		python3 tests/e2e/hostile_files.py

test-asan: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFYREL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@bash scripts/with-display.sh ctest --test-dir $(ASAN_DIR) --output-on-failure

# Start-up against its floor, frame times against a sky-only frame, glow pass GPU times, the
# game's own CPU work and peak memory; the table is also written to $(BUILD_DIR)/bench-report.txt
# and pictures of one frame with and without glow land beside it.
bench: deps build
	@bash scripts/with-display.sh $(BUILD_DIR)/bench/fyrel_gamebench --run-dir $(BUILD_DIR)/run --report $(BUILD_DIR)/bench-report.txt

clean:
	@rm -rf $(BUILD_DIR) $(ASAN_DIR)

# Contact sheet of every generated picture, the alien from four sides and the font.
assets-preview: configure
	@cmake --build $(BUILD_DIR) --target fyrel_assets -j $(JOBS)
	@$(BUILD_DIR)/tools/assetgen/fyrel_assetgen --preview $(BUILD_DIR)/run $(BUILD_DIR)/assets-preview.png

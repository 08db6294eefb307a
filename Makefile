# Fyrel: the two set-up commands are `make run` and `make test`.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run demo test test-asan bench clean assets-preview package

all: build

deps:
	@bash scripts/install-deps.sh

# Configures build folder $(1) with flags $(2). Quiet when it works but for the project's own
# notices (lines starting "fyrel: "); when it fails, the whole output. Kept in $(1)/configure.log.
define configure_in
	@mkdir -p $(1)
	@cmake -S . -B $(1) $(2) >$(1)/configure.log 2>&1 || { cat $(1)/configure.log; \
		echo "Configuring $(1) failed; the output above is also in $(1)/configure.log." >&2; \
		exit 1; }
	@grep '^fyrel: ' $(1)/configure.log || true
endef

configure:
	$(call configure_in,$(BUILD_DIR),-DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS))

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: deps build
	@bash scripts/run-game.sh $(BUILD_DIR)/run

# The bot plays a whole game without a screen; pictures and a GIF land in $(BUILD_DIR)/demo.
demo: deps build
	@bash scripts/demo.sh $(BUILD_DIR)

# Every test of the release build, then the sanitizer pass (test-asan).
test: deps build
	@bash scripts/with-display.sh ctest --test-dir $(BUILD_DIR) --output-on-failure
	@$(MAKE) --no-print-directory test-asan

# The Debian package <build>/fyrel_<version>_<arch>.deb (CPack; its dependencies come from
# dpkg-shlibdeps); prints its path. `make test` builds it too and checks it (lintian, the file
# list, the unpacked game run from elsewhere): tests/e2e/test_package.py.
package: deps build
	@cd $(BUILD_DIR) && cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
	@sed -n 's/^CPack: - package: \(.*\) generated\.$$/\1/p' $(BUILD_DIR)/cpack.log

# Every file the game reads, broken in every way in turn (about 300 runs of the game); the table
# goes to <build>/hostile-report.md. FYREL_RUN_DIR=<other build>/run checks another build.
.PHONY: hostile
hostile: deps build
	@FYREL_RUN_DIR=$${FYREL_RUN_DIR:-$(BUILD_DIR)/run} bash scripts/with-display.sh \
		python3 tests/e2e/hostile_files.py

# AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer: the unit and GL tests
# and 600 frames of the bot playing the real game. Any report fails the run; the leaks that
# third-party libraries keep until exit are listed in tests/lsan.supp.
test-asan: deps
	$(call configure_in,$(ASAN_DIR),-DCMAKE_BUILD_TYPE=RelWithDebInfo -DFYREL_SANITIZE=ON \
		-DFYREL_BUILD_BENCH=OFF)
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@bash scripts/with-display.sh ctest --test-dir $(ASAN_DIR) --output-on-failure \
		-L '^(unit|gl|autoplay)$$'

# The bot plays SOAK_FRAMES frames in a small window while resident memory, live GL objects,
# GL errors and the scene's numbers are watched; the samples go to $(BUILD_DIR)/soak.csv.
# (`make test` runs a 1,000-frame version.)
SOAK_FRAMES ?= 20000
.PHONY: soak
soak: deps configure
	@cmake --build $(BUILD_DIR) --target fyrel_soak -j $(JOBS)
	@cd $(BUILD_DIR)/run && bash $(CURDIR)/scripts/with-display.sh ../tests/fyrel_soak \
		--frames $(SOAK_FRAMES) --csv ../soak.csv

# Start-up against its floor, frame times against a sky-only frame, glow pass GPU times, the
# game's own CPU work and peak memory; the table is also written to $(BUILD_DIR)/bench-report.txt
# and pictures of one frame with and without glow land beside it. Frames are also measured at
# 1920 x 1080, so a display of its own must be at least that large.
bench: deps build
	@FYREL_XVFB_SCREEN=1920x1080x24 bash scripts/with-display.sh $(BUILD_DIR)/bench/fyrel_gamebench --run-dir $(BUILD_DIR)/run --report $(BUILD_DIR)/bench-report.txt

clean:
	@rm -rf $(BUILD_DIR) $(ASAN_DIR)

# Contact sheet of every generated picture, the alien from four sides and the font.
assets-preview: configure
	@cmake --build $(BUILD_DIR) --target fyrel_assets -j $(JOBS)
	@$(BUILD_DIR)/tools/assetgen/fyrel_assetgen --preview $(BUILD_DIR)/run $(BUILD_DIR)/assets-preview.png

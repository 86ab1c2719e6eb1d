# Set-up and everyday commands. `make run` and `make test` each do all the set-up they need
# on a fresh Debian 12 machine (packages through apt, then the build); so does
# `make test-windows` for the Windows programs. Every other target installs nothing: the
# *-deps targets install, `make build`, `make web`, `make windows` and the rest only build and
# run (after `make deps` where they need more than a compiler).

BUILD_DIR    ?= build
ASAN_DIR     ?= build-asan
BENCH_DIR    ?= build-bench
INSTR_DIR    ?= build-instructions
FUZZ_DIR     ?= build-fuzz
MEMCHECK_DIR ?= build-memcheck
WEB_DIR      ?= build-web
WEB_PORT     ?= 8000
WINDOWS_DIR  ?= build-windows
# make fuzz: seconds per target, and the targets (fuzz/fuzz_targets.h).
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= open_base open_mt sequence
# make memcheck: the tests to run under valgrind (a GoogleTest filter). Left out: the
# millions of number texts of FixedDecimal (minutes under valgrind, no memory of their own)
# and the kill test, whose program runs are killed, not checked.
MEMCHECK_TESTS ?= -FixedDecimal.*:KilledSave.*
JOBS         ?= $(shell nproc 2>/dev/null || echo 2)
# Warnings are errors in CI (CI=true) and whenever WERROR=ON is given.
WERROR       ?= $(if $(filter true 1,$(CI)),ON,OFF)
SAMPLES      := samples
OUT          := out

# Debian packages the build, tests and benchmarks need; FreeType, libpng and a font with
# Arial's metrics for the viewer's pictures; Qt 6 for the desktop program; ALSA for the desktop program's tone; dpkg-dev for the Debian
# package's dependencies; clang with libFuzzer for make fuzz, valgrind for make memcheck; a
# virtual display with the openbox window manager, xdotool and the X utilities (xwininfo,
# xprop) for the test of the desktop program under a real window manager.
PACKAGES := cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev libtinyobjloader-dev clang-format \
            qt6-base-dev libfreetype-dev libpng-dev fonts-liberation2 libasound2-dev dpkg-dev clang libclang-rt-14-dev valgrind \
            xvfb xauth openbox xdotool x11-utils

# What `make web` needs: Debian's emscripten. The browser tests need Node, npm and the three
# engines they drive, all Debian's own: chromium, firefox-esr, and WebKitGTK's WebKitWebDriver
# with its MiniBrowser (webkit2gtk-driver) on a virtual display (xvfb, xauth); the npm packages
# that drive them never download a browser.
WEB_PACKAGES := emscripten
WEB_TEST_PACKAGES := chromium firefox-esr webkit2gtk-driver xvfb xauth

# What `make screenshots` needs besides: a virtual display, a keyboard driver and a grabber
# (the first three are in PACKAGES already).
SCREENSHOT_PACKAGES := xvfb xauth xdotool imagemagick

# The Windows programs: Debian's MinGW-w64 cross compiler (the posix thread variant), Wine to
# run them, GoogleTest's sources to cross-build the suite, python3 for the icon and banner,
# zip for the download; the desktop test under Wine needs a virtual display, a window manager,
# a keyboard driver and a grabber.
WINDOWS_PACKAGES := cmake make python3 g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 wine googletest zip \
                    xvfb xauth x11-utils openbox xdotool imagemagick
WINDOWS_VERSION  := $(shell awk '/^project/ {print $$3; exit}' CMakeLists.txt)
WINDOWS_ZIP      := $(WINDOWS_DIR)/calveth-$(WINDOWS_VERSION)-windows-x64.zip
# The time limits of the runs under Wine, in seconds: the GoogleTest suite, the desktop run.
WINE_SUITE_SECONDS   ?= 900
WINE_DESKTOP_SECONDS ?= 300
# Wine keeps its own Windows installation in the build folder, quiet.
WINE_ENV         := WINEPREFIX=$(CURDIR)/$(WINDOWS_DIR)/wine WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# The targets that install what is missing before they build; for any other goal the build
# depends on no installing step.
SETUP         := $(if $(filter run test,$(MAKECMDGOALS)),deps)
WINDOWS_SETUP := $(if $(filter test-windows,$(MAKECMDGOALS)),windows-deps)
# The npm packages of the browser tests, pinned by package-lock.json, in the build folder:
# the source tree gets no node_modules.
WEB_NODE_DIR  := $(WEB_DIR)/node-deps

# Installs those of the packages in $(1) that are missing.
define install-missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
endef

.PHONY: all deps build run gui screenshots screenshot-deps test bench bench-instructions sanitize fuzz \
        memcheck samples artwork package package-check format format-check clean web web-deps \
        web-node-deps serve-web web-test screenshots-web windows windows-deps test-windows screenshot-windows

all: build

deps:
	$(call install-missing,$(PACKAGES))

$(BUILD_DIR)/CMakeCache.txt: | $(SETUP)
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DCALVETH_WERROR=$(WERROR)

build: $(SETUP) $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: $(SETUP) build
	@mkdir -p $(OUT)
	./$(BUILD_DIR)/calveth-cli analyze $(SAMPLES)/head_base.obj --map $(OUT)/head_base.map.tsv
	./$(BUILD_DIR)/calveth-cli analyze $(SAMPLES)/head_base_near.obj --auto yes
	./$(BUILD_DIR)/calveth-cli mirror-l2r --base $(SAMPLES)/head_base.obj --mt $(SAMPLES)/head_smile.obj \
	  --out-dir $(OUT) --with-faces
	./$(BUILD_DIR)/calveth-cli swap --base $(SAMPLES)/hands_base.obj --out-dir $(OUT) \
	  $(SAMPLES)/hand_left_curl.obj $(SAMPLES)/hand_right_spread.obj
	./$(BUILD_DIR)/calveth-cli render $(SAMPLES)/head_base.obj -o $(OUT)/head_base.svg
	./$(BUILD_DIR)/calveth-cli render $(SAMPLES)/head_base.obj -o $(OUT)/head_base.png
	./$(BUILD_DIR)/calveth-cli render $(SAMPLES)/head_base.obj --mt $(SAMPLES)/head_smile.obj \
	  --op mirror-l2r -o $(OUT)/head_smileMirR.png

# The desktop program.
gui: build
	./$(BUILD_DIR)/calveth

# Pictures of the desktop program, for the README: the real program on a virtual display
# (after make screenshot-deps).
screenshot-deps:
	$(call install-missing,$(SCREENSHOT_PACKAGES))

screenshots: build
	xvfb-run -a -s "-screen 0 1280x1024x24" tools/screenshots.sh $(BUILD_DIR)/calveth $(SAMPLES) docs

# The browser tests run where emscripten, Node, npm and a browser are, each engine where it is
# installed (always all three in CI, which installs them); elsewhere ctest reports them skipped.
test: $(SETUP) build
	@if [ "$(CI)" = true ]; then $(MAKE) --no-print-directory web-deps; fi
	@if [ "$(CI)" = true ] || { command -v emcc && command -v npm && \
	  { [ -x /usr/bin/chromium ] || [ -x /usr/bin/firefox-esr ] || [ -x /usr/bin/WebKitWebDriver ]; }; } >/dev/null 2>&1; \
	then $(MAKE) --no-print-directory web web-node-deps; fi
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Emscripten and Chromium from apt; Node and npm from apt unless a Node with npm is there
# already (a Node from elsewhere brings its own npm, which Debian's npm package would conflict
# with).
web-deps:
	$(call install-missing,$(WEB_PACKAGES) $(WEB_TEST_PACKAGES))
	@command -v npm >/dev/null 2>&1 || { $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends nodejs npm; }

# The npm packages of the browser tests (playwright-core, puppeteer-core, selenium-webdriver,
# pngjs), as package-lock.json pins them, into $(WEB_NODE_DIR)
# (tests/web/run.sh finds it there); again only when the lock file changes.
web-node-deps: $(WEB_NODE_DIR)/installed

$(WEB_NODE_DIR)/installed: package.json package-lock.json
	@mkdir -p $(WEB_NODE_DIR)
	cp package.json package-lock.json $(WEB_NODE_DIR)/
	cd $(WEB_NODE_DIR) && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund
	@touch $@

# The whole tool as one static page in $(WEB_DIR)/site: index.html, calveth.js (the
# WebAssembly module inside it, since browsers fetch nothing beside a page opened from
# file://) and the icon. Needs emscripten (make web-deps).
web:
	@[ -f $(WEB_DIR)/cmake/CMakeCache.txt ] || NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_DIR)/cmake \
	  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-Os -DNDEBUG" -DCALVETH_TESTS=OFF \
	  -DCALVETH_QT=OFF -DCALVETH_WERROR=$(WERROR)
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_DIR)/cmake -j $(JOBS) --target calveth-web
	rm -rf $(WEB_DIR)/site && mkdir -p $(WEB_DIR)/site
	cp web/index.html $(WEB_DIR)/cmake/src/web/calveth.js $(WEB_DIR)/site/
	cp resources/icons/calveth-32.png $(WEB_DIR)/site/icon.png

# The page on http://127.0.0.1:$(WEB_PORT)/, for trying it; nothing is reachable from outside.
serve-web: web
	cd $(WEB_DIR)/site && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# The browser tests alone (make test runs them too, through ctest).
web-test: web web-node-deps build
	tests/web/run.sh $(BUILD_DIR) $(WEB_DIR)/site $(WEB_NODE_DIR)
	for engine in chromium firefox webkit; do \
	  tests/web/run_scenarios.sh $$engine $(BUILD_DIR) $(WEB_DIR)/site $(WEB_NODE_DIR) || exit 1; done

# The README's pictures of the page in Firefox and WebKit, made by the scenario drivers.
screenshots-web: web web-node-deps build
	CALVETH_WEB_SCREENSHOT=$(CURDIR)/docs/screenshot-web-firefox.png \
	  tests/web/run_scenarios.sh firefox $(BUILD_DIR) $(WEB_DIR)/site $(WEB_NODE_DIR)
	CALVETH_WEB_SCREENSHOT=$(CURDIR)/docs/screenshot-web-webkit.png \
	  tests/web/run_scenarios.sh webkit $(BUILD_DIR) $(WEB_DIR)/site $(WEB_NODE_DIR)

# Instructions (callgrind) and wall times of calveth-cli on generated 40000-vertex body parts,
# a triangle one with v/vt corners and a quad one with v/vt/vn corners, beside `cat`.
bench-instructions:
	cmake -S . -B $(INSTR_DIR) -DCMAKE_BUILD_TYPE=Release -DCALVETH_TESTS=OFF -DCALVETH_WERROR=$(WERROR)
	cmake --build $(INSTR_DIR) -j $(JOBS) --target calveth-cli make-bench-parts
	@mkdir -p $(INSTR_DIR)/parts
	./$(INSTR_DIR)/tools/make-bench-parts $(INSTR_DIR)/parts
	bench/instructions.sh ./$(INSTR_DIR)/calveth-cli $(INSTR_DIR)/parts

sanitize:
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCALVETH_SANITIZE=ON -DCALVETH_WERROR=$(WERROR)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:abort_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# Each libFuzzer program for FUZZ_SECONDS, seeded from samples/ and ../shared/corpus/; an input
# that breaks a promise stops the run and is kept in $(FUZZ_DIR)/fuzz-findings/.
fuzz:
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCALVETH_FUZZ=ON -DCALVETH_TESTS=OFF -DCALVETH_QT=OFF -DCALVETH_WERROR=$(WERROR)
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	fuzz/run $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The test suite under valgrind's memcheck: the test program itself, and every calveth-cli it
# starts (through CALVETH_CLI_WRAPPER), in $(JOBS) shards side by side. Any memory error or
# definite leak fails the run; the logs are $(MEMCHECK_DIR)/memcheck-N.log.
VALGRIND := valgrind --quiet --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
            --errors-for-leak-kinds=definite
memcheck:
	cmake -S . -B $(MEMCHECK_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCALVETH_WERROR=$(WERROR)
	cmake --build $(MEMCHECK_DIR) -j $(JOBS)
	cd $(MEMCHECK_DIR) && rm -f memcheck-*.log && pids= && \
	for shard in $$(seq 0 $$(($(JOBS) - 1))); do \
	  GTEST_TOTAL_SHARDS=$(JOBS) GTEST_SHARD_INDEX=$$shard CALVETH_CLI_WRAPPER="$(VALGRIND)" \
	    $(VALGRIND) ./tests/calveth-tests --gtest_filter='$(MEMCHECK_TESTS)' >memcheck-$$shard.log 2>&1 & \
	  pids="$$pids $$!"; \
	done; \
	status=0; for pid in $$pids; do wait $$pid || status=1; done; \
	grep -h -A40 '^==[0-9]*==' memcheck-*.log | head -n 200; \
	grep -h -E '^\[  (PASSED|FAILED) ' memcheck-*.log; \
	exit $$status

bench:
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DCALVETH_BENCH=ON -DCALVETH_TESTS=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS) --target calveth-bench
	./$(BENCH_DIR)/bench/calveth-bench --benchmark_counters_tabular=true

# Regenerates the committed sample files (deterministic: the same bytes every time).
samples: build
	./$(BUILD_DIR)/tools/make-samples $(SAMPLES)

# Regenerates the committed icons and banner (deterministic with the same Qt).
artwork: build
	./$(BUILD_DIR)/tools/make-artwork resources

# The Debian package, in $(BUILD_DIR)/ (dpkg-shlibdeps from dpkg-dev fills in its dependencies).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Builds the package, then looks inside it and runs the command-line program from it.
package-check: package
	tests/package_check.sh $(BUILD_DIR)

# The Windows programs, cross-built into $(WINDOWS_DIR) (Qt is not used there), and the zip
# (after make windows-deps; make test-windows installs what is missing itself).
windows-deps:
	$(call install-missing,$(WINDOWS_PACKAGES))

$(WINDOWS_DIR)/CMakeCache.txt: | $(WINDOWS_SETUP)
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DCALVETH_QT=OFF -DCALVETH_GTEST_SOURCE=/usr/src/googletest \
	  -DCALVETH_WERROR=$(WERROR)

windows: $(WINDOWS_SETUP) $(WINDOWS_DIR)/CMakeCache.txt
	cmake --build $(WINDOWS_DIR) -j $(JOBS) --target calveth-cli calveth-desktop
	@rm -rf $(WINDOWS_DIR)/zip $(WINDOWS_ZIP)
	@mkdir -p $(WINDOWS_DIR)/zip/calveth-$(WINDOWS_VERSION)/samples
	cp $(WINDOWS_DIR)/calveth.exe $(WINDOWS_DIR)/calveth-cli.exe $(WINDOWS_DIR)/zip/calveth-$(WINDOWS_VERSION)/
	@# The samples that README-windows.txt's examples name, for a first try.
	cp $(SAMPLES)/*.obj $(WINDOWS_DIR)/zip/calveth-$(WINDOWS_VERSION)/samples/
	@# CRLF line ends, which every Windows editor shows.
	sed 's/$$/\r/' packaging/README-windows.txt >$(WINDOWS_DIR)/zip/calveth-$(WINDOWS_VERSION)/README-windows.txt
	cd $(WINDOWS_DIR)/zip && zip -q -X -9 -r ../$(notdir $(WINDOWS_ZIP)) calveth-$(WINDOWS_VERSION)
	@ls -l $(WINDOWS_DIR)/calveth.exe $(WINDOWS_DIR)/calveth-cli.exe $(WINDOWS_ZIP)

# The GoogleTest suite under Wine, in a Wine installation of the build folder's own, on a
# virtual display (the dialog's tests create windows), within WINE_SUITE_SECONDS; then the desktop program driven by
# keyboard through a typical run (tests/windows/desktop_run.sh), which leaves its picture of
# both windows in $(WINDOWS_DIR)/screenshot-windows.png; last, the zip as a first-time user
# opens it (tests/windows/zip_check.sh).
test-windows: $(WINDOWS_SETUP) windows
	cmake --build $(WINDOWS_DIR) -j $(JOBS) --target calveth-tests
	@# The new prefix's wineserver and desktop process are ended once it is set up: a desktop
	@# started without a display would stay and refuse every window of the tests after it.
	@[ -f $(WINDOWS_DIR)/wine/system.reg ] || { echo "Setting up Wine in $(WINDOWS_DIR)/wine"; \
	  $(WINE_ENV) wineboot -i >/dev/null 2>&1; $(WINE_ENV) wineserver -k || true; }
	$(WINE_ENV) tests/windows/suite_run.sh $(WINDOWS_DIR) $(WINE_SUITE_SECONDS) --gtest_brief=1
	$(WINE_ENV) timeout --kill-after=10 $(WINE_DESKTOP_SECONDS) tests/windows/desktop_run.sh $(WINDOWS_DIR) $(SAMPLES) $(WINDOWS_DIR) || \
	  { status=$$?; [ $$status -ne 124 ] || echo "FAIL: the desktop run under Wine did not end within $(WINE_DESKTOP_SECONDS) s"; exit $$status; }
	$(WINE_ENV) tests/windows/zip_check.sh $(WINDOWS_ZIP) $(WINDOWS_DIR)/calveth-cli.exe

# The README's picture of both Windows programs' windows, from the desktop run under Wine.
screenshot-windows: windows
	$(WINE_ENV) tests/windows/desktop_run.sh $(WINDOWS_DIR) $(SAMPLES) $(WINDOWS_DIR)
	cp $(WINDOWS_DIR)/screenshot-windows.png docs/screenshot-windows.png
	cp $(WINDOWS_DIR)/screenshot-windows-warning.png docs/screenshot-windows-warning.png

format:
	find src tests bench tools fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

format-check:
	find src tests bench tools fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run -Werror

clean:
	rm -rf $(WEB_DIR) $(BUILD_DIR) $(ASAN_DIR) $(BENCH_DIR) $(FUZZ_DIR) $(MEMCHECK_DIR) $(WINDOWS_DIR) $(OUT)

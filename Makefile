# One command each: `make run` opens the animation, `make test` runs every test.
# Both install what is missing first (Debian 12); root is needed for that alone: through sudo,
# or as root with `make deps`, which installs packages and writes nothing here.

BUILD_RUN  := build/release
BUILD_TEST := build/test
CMAKE_GEN  := -G Ninja
STEPS ?= 200
OUT ?= snapshot.png

.PHONY: run test soak bench measure snapshot deb deb-check first-run-check install deps \
  run-deps deb-deps test-deps build-dir release-build test-build clean format \
  web web-deps serve snapshot-web browser-modules measure-web

# Everything that `make test` needs, for root to install once.
deps:
	@scripts/install-deps.sh test

# What building and running need; what the Debian package needs besides; and the tests and
# the window benchmarks.
run-deps:
	@scripts/install-deps.sh run

deb-deps:
	@scripts/install-deps.sh deb

test-deps:
	@scripts/install-deps.sh test

# No build into a build/ (or, before the first build, a checkout) that belongs to another user.
build-dir:
	@scripts/check-build-dir.sh

release-build: build-dir run-deps
	@echo "corvane: building the program in $(BUILD_RUN)"
	@cmake -S . -B $(BUILD_RUN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF \
	  -DCORVANE_BENCH=OFF >/dev/null
	@cmake --build $(BUILD_RUN)

# The test build runs under the sanitizers. The soak tests watch the memory of the release
# build's program, which the sanitizers' allocator would hide; the package tests check what
# the release build installs and packages.
# The browser tests compare the page (make web) with this build's pictures; they drive
# chromium and firefox with puppeteer-core, installed from npm into build/ at the versions of the lock file.
test-build: build-dir test-deps deb web browser-modules
	@echo "corvane: building the tests under the sanitizers in $(BUILD_TEST)"
	@cmake -S . -B $(BUILD_TEST) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON \
	  -DCORVANE_RELEASE_BUILD=$(CURDIR)/$(BUILD_RUN) -DCORVANE_WEB_BUILD=$(CURDIR)/$(WEB_OUT) \
	  -DCORVANE_BROWSER_MODULES=$(CURDIR)/$(BROWSER_MODULES)/node_modules >/dev/null
	@cmake --build $(BUILD_TEST)

run: release-build
	./$(BUILD_RUN)/corvane

# Everything but the long soak, three at a time on two cores: 30 s of random input in a
# window, which mostly waits, starts first, and two other tests run beside it.
test: test-build
	@echo "corvane: testing: unit tests, the program in windows of a private Xvfb, the page"
	@cd $(BUILD_TEST) && ctest --output-on-failure -j3 -LE soak

# 100 000 random events through the scripted host, then ten minutes of random input in a
# real window, watching resident memory.
soak: test-build
	CORVANE_RANDOM_EVENTS=100000 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  $(BUILD_TEST)/unit_tests --gtest_filter='RandomInput.*'
	SOAK_SECONDS=600 bash tests/window/soak_test.sh $(BUILD_RUN)/corvane

# The Debian package, with its dependencies computed from the program's libraries.
deb: deb-deps release-build
	@echo "corvane: packaging"
	@rm -f $(BUILD_RUN)/corvane_*.deb
	@cd $(BUILD_RUN) && cpack >/dev/null
	@ls $(BUILD_RUN)/corvane_*.deb

# The package that `make deb` built, installed on a minimal Debian 12 and run there (root,
# network). Like `install`, it builds nothing, so that under sudo it leaves build/ alone.
deb-check:
	tools/deb-check.sh $(BUILD_RUN)/corvane_*.deb

# A newcomer's first steps on a minimal Debian 12, from `apt install make git` to the window,
# as root and as a user without sudo (root, network; several minutes). Builds nothing here.
first-run-check:
	tools/first-run-check.sh

# Installs what `make run` or `make deb` built into /usr/local (PREFIX=... to change it).
PREFIX ?= /usr/local
install:
	cmake --install $(BUILD_RUN) --prefix $(PREFIX)
	@rm -f $(BUILD_RUN)/install_manifest.txt

# The benchmarks, built only here (in both builds) so that the other targets skip them. The
# window benchmarks need a display: a private Xvfb when there is none. Then the engine step
# built for the browser, under node.
bench: test-deps release-build web
	@cmake -S . -B $(BUILD_RUN) -DCORVANE_BENCH=ON >/dev/null
	@cmake --build $(BUILD_RUN) --target corvane_bench
	@cmake -S . -B $(BUILD_WEB) -DCORVANE_BENCH=ON >/dev/null
	@cmake --build $(BUILD_WEB) --target corvane_bench
	$(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1920x1080x24 -dpi 96") \
	  ./$(BUILD_RUN)/corvane_bench --benchmark_counters_tabular=true
	node --no-experimental-fetch $(BUILD_WEB)/corvane_bench.js --benchmark_counters_tabular=true

# The program's CPU, memory and start-up time in a real window under a private Xvfb.
measure: test-deps release-build
	tools/measure-window.sh ./$(BUILD_RUN)/corvane

# The browser build: build/web/ holds the page (index.html, .js, .wasm, .data) for any static
# web server and corvane.html, the same page in one file that runs from disk. Debian's
# emscripten compiles it; cairo and the libraries under it are built once per machine from
# Debian's source packages into a cache outside the checkout (scripts/web-deps.sh).
BUILD_WEB := build/web-build
WEB_OUT := build/web
PORT ?= 8000
export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))

web-deps:
	@scripts/install-deps.sh web

web: build-dir web-deps
	@prefix=$$(scripts/web-deps.sh | tail -n1) && \
	  echo "corvane: building the page in $(WEB_OUT)" && \
	  emcmake cmake -S . -B $(BUILD_WEB) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DCORVANE_TESTS=OFF -DCORVANE_BENCH=OFF -DCORVANE_WEB_PREFIX=$$prefix \
	    -DCORVANE_WEB_OUT=$(CURDIR)/$(WEB_OUT) >/dev/null
	@cmake --build $(BUILD_WEB)
	@ls $(WEB_OUT)/index.html $(WEB_OUT)/corvane.html

BROWSER_MODULES := build/browser-modules
browser-modules: build-dir test-deps
	@mkdir -p $(BROWSER_MODULES)
	@if ! cmp -s tests/browser/package-lock.json $(BROWSER_MODULES)/package-lock.json || \
	    [ ! -d $(BROWSER_MODULES)/node_modules ]; then \
	  echo "corvane: installing the browser tests' driver from npm (npm ci)"; \
	  cp tests/browser/package.json tests/browser/package-lock.json $(BROWSER_MODULES)/ && \
	  (cd $(BROWSER_MODULES) && npm ci --no-audit --no-fund --loglevel=error >/dev/null) || \
	    { rm -f $(BROWSER_MODULES)/package-lock.json; exit 1; }; \
	fi

# Serves build/web/ to this machine only, for trying the page: http://127.0.0.1:8000/
serve: web
	@echo "corvane: serving $(WEB_OUT) at http://127.0.0.1:$(PORT)/ (Ctrl+C stops)"
	python3 -m http.server $(PORT) --bind 127.0.0.1 --directory $(WEB_OUT)

# The page's figures in headless chromium: transfer size, time to the first picture, CPU.
measure-web: web browser-modules
	NODE_PATH=$(CURDIR)/$(BROWSER_MODULES)/node_modules node tools/measure-page.js $(WEB_OUT)

# The snapshot tool built for the browser and run under node: the same picture as `make
# snapshot`, pixel for pixel, for the same arguments.
snapshot-web: web
	node --no-experimental-fetch $(BUILD_WEB)/snapshot.js --steps $(STEPS) --out $(OUT) \
	  $(if $(WIDTH),--width $(WIDTH)) $(if $(HEIGHT),--height $(HEIGHT)) \
	  $(if $(SCRIPT),--script $(SCRIPT))

snapshot: release-build
	./$(BUILD_RUN)/snapshot --steps $(STEPS) --out $(OUT) \
	  $(if $(WIDTH),--width $(WIDTH)) $(if $(HEIGHT),--height $(HEIGHT)) \
	  $(if $(SCRIPT),--script $(SCRIPT))

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@scripts/check-build-dir.sh --clean
	rm -rf --one-file-system build

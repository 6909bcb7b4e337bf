# SetupLauncher: `make demo` and `make test` do all set-up themselves.
BUILD    ?= build
JOBS     ?= 2
CMAKE_FLAGS ?=
# Which launchers `make test` tests: auto (every launcher this machine can
# run), x64 (the 64-bit-only path, on any machine) or x86 (tools/launchers.sh).
TEST_ARCH ?= auto

APT_PACKAGES = cmake make python3 mingw-w64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 x11-utils \
               wixl msitools gcab xvfb cabextract googletest ccache osslsigncode openssl python3-jsonschema python3-yaml
DEPS_STAMP = $(BUILD)/.deps-ok
# apt's reason, when the 32-bit Wine could not be installed (tools/install-deps.sh).
WINE32_NOTE = $(BUILD)/.wine32-missing

.PHONY: all deps build test demo bench screenshots clean

all: build

# Installs what is missing (Debian, as root). Checked once per build folder.
deps: $(DEPS_STAMP)
$(DEPS_STAMP):
	@missing=""; \
	for tool in cmake python3 i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix wine wixl msiinfo gcab Xvfb \
	            cabextract unshare ccache osslsigncode openssl; do \
	  command -v $$tool >/dev/null 2>&1 || missing="$$missing $$tool"; done; \
	[ -f /usr/src/googletest/CMakeLists.txt ] || missing="$$missing googletest"; \
	python3 -c 'import jsonschema, yaml' 2>/dev/null || /usr/bin/python3 -c 'import jsonschema, yaml' 2>/dev/null || \
	  missing="$$missing python3-jsonschema"; \
	[ -x /usr/lib/wine/wine64 ] || missing="$$missing wine64"; \
	[ -x /usr/lib/wine/wine ] || dpkg -s wine32:i386 >/dev/null 2>&1 || missing="$$missing wine32"; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing tools:$$missing"; \
	  tools/install-deps.sh $(WINE32_NOTE) $(APT_PACKAGES) || exit 1; \
	fi
	@mkdir -p $(BUILD) && touch $@

# Both launchers: the 32-bit one in $(BUILD), the 64-bit one in $(BUILD)/x64.
build: deps
	@tools/build.sh $(BUILD) $(JOBS) $(TEST_ARCH) "$(CMAKE_FLAGS)"

# Says first which launchers it tests, builds, runs ctest in each tree.
test: deps
	@tools/run-tests.sh $(BUILD) $(JOBS) $(TEST_ARCH) "$(CMAKE_FLAGS)"

demo: build
	tools/demo.sh $(BUILD)

screenshots: build
	tools/screenshots.sh $(BUILD)

bench: build
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)

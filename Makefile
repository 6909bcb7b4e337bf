# SetupLauncher: `make demo` and `make test` do all set-up themselves.
BUILD    ?= build
JOBS     ?= 2
CMAKE_FLAGS ?=

APT_PACKAGES = cmake make python3 mingw-w64 g++-mingw-w64-i686 wine wine32:i386 wine64 x11-utils \
               wixl msitools gcab xvfb cabextract googletest
DEPS_STAMP = $(BUILD)/.deps-ok

.PHONY: all deps build test demo bench screenshots clean

all: build

# Installs what is missing (Debian, as root). Checked once per build folder.
deps: $(DEPS_STAMP)
$(DEPS_STAMP):
	@missing=""; \
	for tool in cmake python3 i686-w64-mingw32-g++-posix wine wixl msiinfo gcab Xvfb cabextract; do \
	  command -v $$tool >/dev/null 2>&1 || missing="$$missing $$tool"; done; \
	[ -f /usr/src/googletest/CMakeLists.txt ] || missing="$$missing googletest"; \
	[ -x /usr/lib/wine/wine ] || [ -x /usr/lib/i386-linux-gnu/wine/wine ] || dpkg -s wine32:i386 >/dev/null 2>&1 || missing="$$missing wine32"; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing tools:$$missing"; \
	  dpkg --add-architecture i386 && apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive apt-get install -y -q $(APT_PACKAGES); \
	fi
	@mkdir -p $(BUILD) && touch $@

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure --timeout 600

demo: build
	tools/demo.sh $(BUILD)

screenshots: build
	tools/screenshots.sh $(BUILD)

bench: build
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)

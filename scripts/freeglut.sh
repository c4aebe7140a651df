#!/usr/bin/env bash
# Builds freeglut for Windows from Debian's own source package: static, with
# the game's MinGW toolchain, installed into FOLDER/raiz, where the game's
# cross build finds it, with the notices that must travel with it in
# FOLDER/raiz/share/doc/freeglut. Once built it is kept; remove FOLDER to build
# it anew.
#   scripts/freeglut.sh FOLDER
set -euo pipefail
# The version the Windows build is tested with, which zandrel.exe's bytes
# depend on; docs/building.md says how to move it.
VERSAO=3.4.0-1
raiz=$(cd "$(dirname "$0")/.." && pwd)
pasta=$(realpath -m "$1")
doc=$pasta/raiz/share/doc/freeglut
if [ -e "$pasta/raiz/lib/libglut.a" ] && [ "$(cat "$doc/versao" 2>/dev/null)" = "$VERSAO" ]; then
    echo "zandrel: freeglut $VERSAO for Windows is already built in $pasta/raiz"
    exit 0
fi
rm -rf "$pasta"
mkdir -p "$pasta/fonte"

# apt-get source needs a source entry. Where the system has none, one is made
# from the system's own entries (the same addresses, suites and keys) in an
# apt configuration of our own, so that the system's apt stays as it was.
apt=()
if ! apt-cache showsrc freeglut 2>/dev/null | grep -q '^Package: freeglut'; then
    privado=$pasta/apt
    echo "zandrel: the system's apt has no source entries; for apt-get source, using ones made from its" \
        "package entries, in $privado (removed afterwards)"
    mkdir -p "$privado/fontes" "$privado/listas/partial" "$privado/cache/archives/partial"
    shopt -s nullglob
    for f in /etc/apt/sources.list.d/*.sources; do
        sed 's/^Types:.*/Types: deb-src/' "$f"
        echo # paragraphs of different files stay apart
    done >"$privado/fontes/sistema.sources"
    sed -En 's/^deb(\s)/deb-src\1/p' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
        >"$privado/fontes/sistema.list" 2>/dev/null || true
    trap 'rm -rf "$privado"' EXIT
    apt=(-o Dir::Etc::SourceList="$privado/nenhuma.list" -o Dir::Etc::SourceParts="$privado/fontes"
        -o Dir::State::Lists="$privado/listas" -o Dir::Cache="$privado/cache")
    apt-get "${apt[@]}" update
fi
if ! apt-cache "${apt[@]}" showsrc freeglut 2>/dev/null | grep -qx "Version: $VERSAO"; then
    echo "zandrel: the archive no longer has freeglut $VERSAO, the version the Windows build is tested" \
        "with; it offers: $(apt-cache "${apt[@]}" showsrc freeglut 2>/dev/null | sed -n 's/^Version: //p' | paste -sd ' ')." \
        "Move the pin in scripts/freeglut.sh as docs/building.md says ('Moving freeglut's pin')." >&2
    exit 1
fi
(cd "$pasta/fonte" && apt-get "${apt[@]}" source "freeglut=$VERSAO")

fonte=$(find "$pasta/fonte" -mindepth 1 -maxdepth 1 -type d -name 'freeglut-*')
cmake -S "$fonte" -B "$pasta/obra" --toolchain "$raiz/windows/mingw.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$pasta/raiz" -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_DEMOS=OFF \
    -DFREEGLUT_REPLACE_GLUT=ON
cmake --build "$pasta/obra" -j "$(nproc)"
cmake --install "$pasta/obra"
# Its licence, and the one file of another's (the X Window System's) that it
# links in whole.
mkdir -p "$doc"
cp "$fonte/COPYING" "$fonte/src/util/xparsegeometry_repl.c" "$doc/"
echo "$VERSAO" >"$doc/versao"

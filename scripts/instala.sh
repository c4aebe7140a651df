#!/usr/bin/env bash
# `make install`: the game's build installed into a prefix, under DESTDIR
# where that is set. Where the user may not write there (/usr/local, for
# anyone but root), through sudo; with no sudo, it says what to run as root
# instead, and fails.
#   scripts/instala.sh build/release /usr/local
set -euo pipefail
obra=$(realpath "$1") prefixo=$2
# Root's shell starts elsewhere, and sudo keeps none of the user's variables.
raiz=${DESTDIR:+$(realpath -m "$DESTDIR")}
destino=$raiz$prefixo
comando=(cmake --install "$obra" --prefix "$prefixo")
if [ -n "$raiz" ]; then comando=(env "DESTDIR=$raiz" "${comando[@]}"); fi

# cmake writes the list of what it installed into the build: one that root
# wrote, through sudo or by hand, would stop the user's next install, which
# cannot rewrite it, but may remove it.
rm -f "$obra/install_manifest.txt"

# Where the destination is not there yet, install makes it in the nearest
# folder above it that is.
pasta=$destino
until [ -e "$pasta" ]; do pasta=$(dirname "$pasta"); done
if [ -w "$pasta" ]; then exec "${comando[@]}"; fi
if command -v sudo >/dev/null 2>&1; then
    echo "zandrel: $pasta is not yours to write, so installing through sudo"
    exec sudo "${comando[@]}"
fi
printf -v linha '%q ' "${comando[@]}"
{
    echo "zandrel: $pasta is not yours to write, and there is no sudo here."
    echo "As root (for instance after su -, which asks for root's password), run:"
    echo "    ${linha% }"
    echo "or install elsewhere: make install PREFIX=$HOME/.local"
} >&2
exit 1

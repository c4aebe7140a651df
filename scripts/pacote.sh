#!/usr/bin/env bash
# Builds the Debian package from a clean copy of the tree and checks it with
# lintian. `make deb` and the package's test run it; it prints the .deb's path
# last.
#   scripts/pacote.sh [folder]    (build/deb unless told)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
destino=$(realpath -m "${1:-$raiz/build/deb}")
cd "$raiz"

# dpkg-buildpackage writes beside the tree it builds and leaves its products
# inside it, so it builds a copy: the files git tracks or would add, as they
# are now, uncommitted edits included.
rm -rf "$destino"
mkdir -p "$destino/zandrel"
git ls-files -z -co --exclude-standard | while IFS= read -r -d '' f; do
    if [ -e "$f" ]; then cp -a --parents "$f" "$destino/zandrel/"; fi
done

# The source package too, so that lintian also reads debian/ itself.
(cd "$destino/zandrel" && dpkg-buildpackage -us -uc -Jauto)
nome=$destino/zandrel_$(dpkg-parsechangelog -S Version)_$(dpkg --print-architecture)
echo "zandrel: lintian on the source and the binary package"
lintian --fail-on error,warning "$nome.changes"
echo "$nome.deb"

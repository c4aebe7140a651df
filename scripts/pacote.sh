#!/usr/bin/env bash
# Builds the Debian package from a clean copy of the tree and checks it with
# lintian. `make deb` runs it, and the package's test reads what it made. It
# prints the .deb's path last. Given another architecture than this
# machine's (arm64, say), it cross-builds the binary package for it.
#   scripts/pacote.sh [folder [architecture]]    (build/deb and this machine's unless told)
set -euo pipefail
: "${SOURCE_DATE_EPOCH:?is not set: make sets it for make deb and make test, from debian/changelog}"
raiz=$(cd "$(dirname "$0")/.." && pwd)
destino=$(realpath -m "${1:-$raiz/build/deb}")
arquitetura=${2:-$(dpkg --print-architecture)}
cd "$raiz"

# dpkg-buildpackage writes beside the tree it builds and leaves its products
# inside it, so it builds a copy: the source's files as they are now,
# uncommitted edits included. The copy's modes and times are the release's (its
# date is SOURCE_DATE_EPOCH), so that neither the umask nor the checkout's
# times reach the source package.
rm -rf "$destino"
mkdir -p "$destino/zandrel"
scripts/arquivos.sh | xargs -0 cp --parents -t "$destino/zandrel/"
chmod -R u+rwX,go=rX "$destino/zandrel"
find "$destino/zandrel" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

# The source package too, so that lintian also reads debian/ itself; a
# cross-build makes the binary package alone, and cannot run tests.
if [ "$arquitetura" = "$(dpkg --print-architecture)" ]; then
    opcoes=()
else
    opcoes=(-a"$arquitetura" -Pcross,nocheck -b)
fi
(cd "$destino/zandrel" && dpkg-buildpackage -us -uc -Jauto "${opcoes[@]}")
nome=$destino/zandrel_$(dpkg-parsechangelog -S Version)_$arquitetura
echo "zandrel: lintian on the packages for $arquitetura"
lintian --fail-on error,warning "$nome.changes"
echo "$nome.deb"

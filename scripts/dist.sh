#!/usr/bin/env bash
# Gathers the release in BUILD/dist from the builds `make dist` has just made
# in BUILD: the source, the Debian packages, the page and its app, the Windows
# zip and installer, and their checksums; nothing else is left there. Every
# byte depends on the sources alone: the one date stamped anywhere is
# debian/changelog's, as SOURCE_DATE_EPOCH, which make sets (the installers
# keep their NSIS stub's own).
#   scripts/dist.sh BUILD
set -euo pipefail
: "${SOURCE_DATE_EPOCH:?is not set: make dist sets it, from debian/changelog}"
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "$1")
dist=$build/dist
cd "$raiz"
export LC_ALL=C # names sorted byte by byte
versao=$(dpkg-parsechangelog -S Version)
nome=zandrel-$versao
rm -rf "$dist"
mkdir -p "$dist"

# The source: exactly the files of the tree, under zandrel-VERSION/, in name
# order, owned by root, 644 or 755, at the release's date; the links' targets
# stay as they are.
scripts/arquivos.sh | tar -cf - --null -T - --format=gnu --sort=name --owner=0 --group=0 --numeric-owner \
    --mode=u+rwX,go=rX --mtime="@$SOURCE_DATE_EPOCH" --transform="s,^,$nome/,S" | gzip -9n >"$dist/$nome.tar.gz"

cp "$build/deb/zandrel_${versao}_amd64.deb" "$build/deb-arm64/zandrel_${versao}_arm64.deb" "$dist/"
cp "$build/web/index.html" "$dist/$nome.html"
cp "$build/windows/$nome-windows-x64.zip" "$build/windows/$nome-setup.exe" "$dist/"

# The app, in a folder of its own name.
pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
cp -r "$build/web/app" "$pasta/$nome-web"
(cd "$pasta" && find "$nome-web" -type f | sort >lista &&
    cmake -E tar cf "$dist/$nome-web.zip" --format=zip --files-from=lista)
strip-nondeterminism --type zip --timestamp "$SOURCE_DATE_EPOCH" "$dist/$nome-web.zip"

(cd "$dist" && sha256sum -- * >SHA256SUMS)
echo "zandrel: the release is in $dist:"
(cd "$dist" && ls -l --time-style=+ -- *)

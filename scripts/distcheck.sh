#!/usr/bin/env bash
# Proves the release whole and reproducible: unpacks its source tarball into
# an empty folder, with no git, its files' times moved months back as in an
# old clone, and runs `make dist` there under another time zone, locale,
# umask and home; then every file must have the same bytes as the first
# release's. (The tests lint the same files' licences, as the tarball holds
# them.) Names each file that differs. The release's date is
# SOURCE_DATE_EPOCH, which make sets; the second make dist sets it again from
# the tarball's own changelog.
#   scripts/distcheck.sh BUILD
set -euo pipefail
: "${SOURCE_DATE_EPOCH:?is not set: make distcheck sets it, from debian/changelog}"
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "$1")
versao=$(dpkg-parsechangelog -l "$raiz/debian/changelog" -S Version)
primeira=$build/dist
[ -s "$primeira/SHA256SUMS" ] || { echo "zandrel: no release in $primeira: run make dist first" >&2; exit 1; }

pasta=$build/distcheck
rm -rf "$pasta"
mkdir -p "$pasta/casa"
tar -xzf "$primeira/zandrel-$versao.tar.gz" -C "$pasta"
arvore=$pasta/zandrel-$versao
find "$arvore" -exec touch -h -d "@$((SOURCE_DATE_EPOCH - 200 * 86400))" {} +

# Each setting other than this run's own.
outro() { if [ "$1" = "$2" ]; then echo "$3"; else echo "$2"; fi; }
tz=$(outro "${TZ:-}" Asia/Tokyo America/Sao_Paulo)
lc=$(outro "${LC_ALL:-}" C.UTF-8 C)
mascara=$(outro "$(umask)" 0002 0077)
echo "zandrel: make dist again in $arvore, with TZ=$tz LC_ALL=$lc umask $mascara HOME=$pasta/casa"
(cd "$arvore" && umask "$mascara" && env -u SOURCE_DATE_EPOCH -u MAKEFLAGS -u MFLAGS -u MAKELEVEL TZ="$tz" LC_ALL="$lc" HOME="$pasta/casa" make dist)

segunda=$arvore/build/dist
if cmp -s "$primeira/SHA256SUMS" "$segunda/SHA256SUMS"; then
    echo "zandrel: the same release, byte for byte: $(wc -l <"$primeira/SHA256SUMS") files in $primeira"
    exit 0
fi
echo "zandrel: the two releases differ:" >&2
diff "$primeira/SHA256SUMS" "$segunda/SHA256SUMS" >&2 || true
for f in $( (cd "$primeira" && ls; cd "$segunda" && ls) | sort -u); do
    cmp -s "$primeira/$f" "$segunda/$f" && continue
    echo "FAIL: $f differs" >&2
    if command -v diffoscope >/dev/null; then diffoscope "$primeira/$f" "$segunda/$f" 2>&1 | head -n 40 | cut -c 1-300 >&2 || true; fi
done
exit 1

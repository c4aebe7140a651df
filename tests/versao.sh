# One version everywhere: debian/changelog's, which CMake reads and the
# packages and file names follow, is also the metainfo's newest release, of
# the changelog's date, and the one the README's file names give.
#   versao.sh CMAKE_VERSION
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
changelog=$raiz/debian/changelog
versao=$(dpkg-parsechangelog -l "$changelog" -S Version)
data=$(date -u -d "@$(dpkg-parsechangelog -l "$changelog" -S Timestamp)" +%F)
lancamento=$(grep -m 1 -o '<release [^>]*>' "$raiz"/data/*.metainfo.xml)
erros=0
while read -r onde diz esperado; do
    [ "$diz" = "$esperado" ] || { echo "FAIL: $onde says $diz, debian/changelog $esperado" >&2; erros=1; }
done <<EOF_
CMake                     $1                                                  $versao
metainfo-release          $(sed -n 's/.*version="\([^"]*\)".*/\1/p' <<<"$lancamento")  $versao
metainfo-release-date     $(sed -n 's/.*date="\([^"]*\)".*/\1/p' <<<"$lancamento")     $data
$(grep -o 'zandrel[-_][0-9][0-9.]*[0-9]' "$raiz/README.md" | sed "s/^zandrel[-_]/README /; s/\$/ $versao/")
EOF_
exit "$erros"

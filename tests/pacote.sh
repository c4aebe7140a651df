# The Debian package builds and passes lintian, holds the files below, each
# clean by its own checker, and its game plays. Under CI, or when
# ZANDREL_INSTALA=1 asks, it is also installed, played and purged.
source "$(dirname "$0")/../scripts/xvfb.sh"
raiz=$(cd "$(dirname "$0")/.." && pwd)

versao=$(dpkg-parsechangelog -l "$raiz/debian/changelog" -S Version)
"$raiz/scripts/pacote.sh" "$AQUI/deb" || falha "the package did not build, or lintian refused it"
deb=$AQUI/deb/zandrel_${versao}_$(dpkg --print-architecture).deb
dpkg-deb -c "$deb" | awk '{ print substr($6, 2) }' >"$AQUI/conteudo"
dpkg-deb -x "$deb" "$AQUI/raiz"

# Every checker must pass and say nothing, but for appstreamcli's word of success.
ARQUIVOS='
/usr/games/zandrel
/usr/share/applications/zandrel.desktop                       desktop-file-validate
/usr/share/icons/hicolor/scalable/apps/zandrel.svg            xmllint --noout
/usr/share/man/man6/zandrel.6.gz                              mandoc -T lint
/usr/share/metainfo/io.github.zandrel.zandrel.metainfo.xml    appstreamcli validate --no-net
/usr/share/doc/zandrel/copyright'
while read -r caminho confere; do
    [ -n "$caminho" ] || continue
    grep -qx "$caminho" "$AQUI/conteudo" || falha "the package lacks $caminho"
    [ -z "$confere" ] || { saida=$($confere "$AQUI/raiz$caminho" 2>&1) &&
        [[ $saida =~ ^(.*Validation\ was\ successful\.)?$ ]]; } || falha "$confere $caminho: $saida"
done <<<"$ARQUIVOS"

joga() { jogo "$1"; esc; calado; }
tela
joga "$AQUI/raiz/usr/games/zandrel"

[ -n "${CI:-}" ] || [ "${ZANDREL_INSTALA:-}" = 1 ] || exit 0
sudo=
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb"
joga /usr/games/zandrel
[ "$(man -w 6 zandrel)" = /usr/share/man/man6/zandrel.6.gz ] || falha "man finds no zandrel(6) where the package put it"
$sudo apt-get purge -y zandrel
while read -r caminho _; do
    [ -z "$caminho" ] || [ ! -e "$caminho" ] || falha "$caminho is still there after the purge"
done <<<"$ARQUIVOS"

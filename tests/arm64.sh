# The arm64 package's game, played under qemu-user, shows the desktop game's
# pictures, taken in the same run, but for one step per colour channel (Mesa
# rounds dark green's 0.5 to 128 on arm64, to 127 here), and ends with 0 on Esc.
#   arm64.sh GAME PACKAGE
source "$(dirname "$0")/../scripts/xvfb.sh"
dpkg-deb -x "$2" "$AQUI/raiz"
tela
percorre amd64 "$1"
percorre arm64 qemu-aarch64 "$AQUI/raiz/usr/games/zandrel"
calado
iguais amd64 arm64 1

# One window, "Zandrel", 690 x 525 at (50, 50); it runs until Esc, which ends it with 0.
source "$(dirname "$0")/../scripts/xvfb.sh"
tela
jogo "$@"
[ "$(xdotool search --name '^Zandrel$' | wc -l)" -eq 1 ] || falha "not exactly one window"
geometria=$(xwininfo -id "$JANELA")
for linha in "Absolute upper-left X: +50" "Absolute upper-left Y: +50" "Width: 690" "Height: 530"; do
    grep -Eq "$linha\$" <<<"$geometria" || falha "the window is not '$linha': $geometria"
done
sleep 2
vivo || falha "the game ended by itself"
esc
calado

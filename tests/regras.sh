# Keys at work in the real game: the building's floors, the frog's crossing to
# the victory message, and full screen.
source "$(dirname "$0")/../scripts/xvfb.sh"
tela
jogo "$@"

teclas w w
sleep 0.3
foto alto
confere alto <<'EOF_'
floor-2-sill        2.5   10.3  0,0,0
floor-2-glass       2.5   10.55 255,255,255
floor-3-glass       4.5   11.55 255,255,255
floor-3-top         4.5   11.8  0,0,0
below-roof          3.5   11.9  255,255,255
above-roof          3.5   12.3  0,0,0
EOF_
teclas w s s s
sleep 0.3
foto baixo
confere baixo <<'EOF_'
floor-1-glass       2.5   9.55  255,255,255
floor-2-unseen      2.5   10.55 0,0,0
EOF_

# Across the road to the victory message.
atravessa
read -r n x0 _ y0 y1 < <(acha fim 255,255,255)
awk -v n="$n" -v x="$x0" -v a="$y0" -v b="$y1" 'BEGIN { exit !(n > 500 && x >= 9.15 && x <= 9.6 && a >= 5.8 && a <= 6.1 && b <= 7) }' ||
    falha "no victory message at (9.2, 6): $n white pixels from x $x0, y $y0 to $y1"
read -r pretos _ < <(acha fim '0,0,0')
medidas fim
[ $((pretos + n)) -eq $((w * h)) ] || falha "the victory frame holds more than its message"

# The game is over: arrows change nothing on screen; 'f' still fills it.
teclas Down Left Left
teclas f
sleep 0.5
read -r w h < <(xwininfo -id "$JANELA" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')
[ "$w $h" = "1280 1024" ] || falha "'f' left the window at $w x $h"
foto cheia
read -r n2 _ < <(acha cheia 255,255,255)
[ "$n2" -eq "$n" ] || falha "full screen changed the victory frame: $n2 white pixels, not $n"
esc
calado

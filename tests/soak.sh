# A flood of keys while the window is resized and taken full screen: the game
# stays alive, keeps drawing what the keys say, ends with Esc and 0, and its
# memory stays flat.
source "$(dirname "$0")/../scripts/xvfb.sh"
tela
jogo "$@"

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$JOGO/status"; }
tamanho() {
    xdotool windowsize "$JANELA" "$1" "$2" windowmove "$JANELA" 50 50
    sleep 0.2
}

# Every key but Esc; Up only ever followed by Down, so the frog never wins and
# the truck keeps the picture moving.
chuva=(Down Left Right Up Down w s a z 0 9 space Return Tab BackSpace F1 F5 F11 Home End Prior Next
       Insert Delete W S F q 1 Left Left Right Up Down KP_5 comma period slash)
rajada() {
    for _ in 1 2 3 4 5 6; do ATRASO=1 teclas "${chuva[@]}"; done
    # Held for a second: Xvfb repeats it about nine times.
    xdotool keydown "$1"
    sleep 1
    xdotool keyup "$1"
}

# Proof that frames still come and carry the keys: walk the frog to a known
# place and find it drawn there, then somewhere else.
confere_sapo() {
    ATRASO=1 teclas Down Down Down Down Down Down $(printf 'Left %.0s' $(seq 27))
    sleep 0.2
    foto sapo
    echo "frog-left 2 1 0,255,0" | confere sapo || falha "the frog is not drawn where the keys put it ($1)"
    ATRASO=1 teclas $(printf 'Right %.0s' $(seq 26))
    sleep 0.2
    foto sapo
    printf 'frog-right 28 1 0,255,0\nedge-line-again 2 1 255,255,255\n' | confere sapo || falha "the frog did not follow the keys ($1)"
}

# Warm-up: each window size once, since the GL keeps buffers for them.
for t in "1 1" "4000 3000" "690 530"; do tamanho $t; done
teclas f
sleep 0.3
tamanho 690 530

for metade in 1 2; do
    rajada Left
    tamanho 1 1
    rajada s
    tamanho 4000 3000
    rajada Right
    teclas f
    rajada w
    tamanho 690 530
    vivo || falha "the game died in the flood"
    confere_sapo "half $metade"
    memoria[metade]=$(rss)
done
echo "resident memory after each half: ${memoria[1]} kB, ${memoria[2]} kB"
[ $((memoria[2] - memoria[1])) -le 4096 ] || falha "memory grew by $((memoria[2] - memoria[1])) kB in the second half"
esc
calado

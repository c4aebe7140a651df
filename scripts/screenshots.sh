#!/usr/bin/env bash
# Writes the pictures the README shows: the playing frame, the three-floor
# building and the victory frame, from the real game under Xvfb, and the page
# in Chromium.
#   scripts/screenshots.sh path/to/zandrel path/to/index.html docs
source "$(dirname "$0")/xvfb.sh"
destino=$(realpath "${3:-docs}")

# Waits for the truck to be in sight, so the picture shows everything.
caminhao() {
    for _ in $(seq 50); do
        foto jogando
        read -r n _ < <(acha jogando '12[78],255,0')
        [ "$n" -gt 500 ] && break
    done
}

tela
jogo "$1"
caminhao
import -window "$JANELA" "$destino/playing.png"

teclas w w
sleep 0.3
import -window "$JANELA" "$destino/building.png"

atravessa
import -window "$JANELA" "$destino/victory.png"
esc

pagina "file://$(realpath "$2")"
caminhao
navega foto "$destino/web.png" body
echo "wrote playing.png, building.png, victory.png and web.png in $destino"

#!/usr/bin/env bash
# Writes the pictures the README shows: the playing frame, the three-floor
# building and the victory frame, from the real game under Xvfb.
#   scripts/screenshots.sh path/to/zandrel docs
source "$(dirname "$0")/xvfb.sh"
destino=${2:-docs}
tela
jogo "$1"

# Wait for the truck to be in sight, so the picture shows everything.
for _ in $(seq 50); do
    foto jogando
    read -r n _ < <(acha jogando '12[78],255,0')
    [ "$n" -gt 500 ] && break
done
import -window "$JANELA" "$destino/playing.png"

teclas w w
sleep 0.3
import -window "$JANELA" "$destino/building.png"

atravessa
import -window "$JANELA" "$destino/victory.png"
esc
echo "wrote $destino/playing.png, $destino/building.png and $destino/victory.png"

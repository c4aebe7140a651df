#!/usr/bin/env bash
# Writes the pictures the README shows: the playing frame, the three-floor
# building and the victory frame, from the real game under Xvfb, and the page
# in Chromium.
#   scripts/screenshots.sh path/to/zandrel path/to/index.html docs
source "$(dirname "$0")/xvfb.sh"
destino=$(realpath "${3:-docs}")

# The truck in sight, so the pictures show everything.
tela
jogo "$1"
caminhao jogando
import -window "$JANELA" "$destino/playing.png"

teclas w w
sleep 0.3
import -window "$JANELA" "$destino/building.png"

atravessa
import -window "$JANELA" "$destino/victory.png"
esc

pagina "file://$(realpath "$2")"
caminhao jogando
navega foto "$destino/web.png" body

# A phone, upright.
navega movel 390 844
pagina "file://$(realpath "$2")"
caminhao jogando
navega foto "$destino/phone.png" body
echo "wrote playing.png, building.png, victory.png, web.png and phone.png in $destino"

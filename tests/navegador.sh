# The page plays as the desktop does: from real keys in headless Chromium it
# shows the desktop's pictures, pixel for pixel, each frame in one draw;
# Esc stops it, and "Play again" starts anew; its console stays clean; and it
# plays from disk as well as over HTTP.
#   navegador.sh GAME PAGE
source "$(dirname "$0")/../scripts/xvfb.sh"
[ "$(stat -c %s "$2")" -le $((300 * 1024)) ] || falha "the page weighs $(stat -c %s "$2") bytes"

tela
percorre mesa "$1"

# Served over HTTP, on a port of its own.
serve "$(dirname "$2")"
pagina "$URL$(basename "$2")"
awk -v t="$RESPOSTA" 'BEGIN { exit !(t <= 2000) }' || falha "the first frame came $RESPOSTA ms after the page was asked for"
echo "first frame $RESPOSTA ms after the page was asked for"
# The desktop's page: the keys' table, no buttons; and one draw per frame.
navega js "getComputedStyle(document.getElementById('controles')).display === 'none' && document.querySelector('table').offsetHeight > 0"
[ "$RESPOSTA" = true ] || falha "the desktop's page shows buttons, or no keys' table"
navega js "(function () { var c = Module.ctx, d = c.drawArrays; Module.desenhos = 0; c.drawArrays = function () { Module.desenhos++; return d.apply(c, arguments); }; return Module.quadros; })()"
sleep 0.5
navega js "Module.desenhos / (Module.quadros - $RESPOSTA)"
[ "$RESPOSTA" = 1 ] || falha "$RESPOSTA draw calls per playing frame"
percurso web

# The same pictures but for one step per colour channel (Mesa rounds dark
# green's 0.5 to 127, SwiftShader to 128).
iguais mesa web 1

# Esc ends the game: no more frames, the live region says so, and its "Play
# again" starts a new game.
teclas Escape
navega js Module.quadros
sleep 0.5
navega js "Module.quadros === $RESPOSTA && document.querySelector('[role=status]').innerText.trim() === 'The game is over.' && document.activeElement.textContent === 'Play again'"
[ "$RESPOSTA" = true ] || falha "frames go on after Esc, or the page does not say the game is over and offer Play again"
limpo "after Esc"
navega js "Module.primeiro = 0"
navega js "document.activeElement.click()"
quadro
foto denovo
igual web-inicio denovo 0

# From disk: the frog steps up.
pagina "file://$2"
teclas Up
sleep 0.2
foto disco
echo "frog-row-1 15 2 0,255,0" | confere disco || falha "the page does not play from file://"
limpo "from file://"

# On screens two and three times as dense, the same pictures, drawn finer. A
# density that changes mid-game (a zoom, the window moved to another screen)
# redraws the victory message at the new one.
for k in 2 3; do
    navega opcoes --force-device-scale-factor=$k
    pagina "$URL$(basename "$2")"
    percurso web$k
    iguais mesa web$k 1
done
navega cdp Emulation.setDeviceMetricsOverride '{"width": 1000, "height": 900, "deviceScaleFactor": 2, "mobile": false}'
sleep 0.3
foto denso
igual mesa-fim denso 1
limpo "on dense screens"

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

# With gamepads, which Chromium's own code reads from joysticks faked by
# umockdev (navegador.py). Plugged in before the page opens, a pad's d-pad and
# shoulders walk the desktop's pictures. Then each row of PASSOS, a command
# to the pads and the keys it stands for, must give the keys' picture: the
# d-pad and the stick one step a press, held or eased back and pushed again;
# none for a drifting stick; A a hop; a pad unplugged and plugged again, and a
# second one the browser does not know, beside it. With no pad left the page
# reads none; Start fills the screen.
navega pad 0 liga
pagina "$URL$(basename "$2")"
PAD=cruz percurso pad
iguais mesa pad 1
PASSOS=("0 100 cruz:Up cruz:Up cruz:Right|Up Up Right" "0 100 cruz:Down cruz:Left|Down Left"
        "0 100 alavanca:Up alavanca:Right|Up Right" "0 100 alavanca:Down alavanca:Left|Down Left"
        "0 600 a7=-1 a7=0|Up" "0 600 a0=-1 a0=0|Left" "0 100 a1=0.6 a1=0.45 a1=0.6 a1=0|Down"
        "0 300 a0=0.09 a1=-0.09 a0=0 a1=0|" "0 100 A|Up" "0 tira|" "0 liga|" "1 liga outro|"
        "0 100 cruz:Down|Down" "1 100 b0=1 b0=0 a7=1 a7=0 a0=1 a0=0 a6=-1 a6=0 b5=1 b5=0 b4=1 b4=0|Up Down Right Left w s")
for modo in pad tecla; do
    pagina "$URL$(basename "$2")"
    for i in "${!PASSOS[@]}"; do
        p=${PASSOS[i]}
        if [ $modo = pad ]; then navega pad ${p%|*}; elif [ -n "${p#*|}" ]; then teclas ${p#*|}; fi
        sleep 0.3
        foto $modo-$i
    done
done
for i in "${!PASSOS[@]}"; do igual tecla-$i pad-$i 0; done
navega pad 0 100 f
navega js "!!document.fullscreenElement"
[ "$RESPOSTA" = true ] || falha "Start does not fill the screen"
navega js "(function () { var g = navigator.getGamepads.bind(navigator); navigator.getGamepads = function () { Module.lidos++; return g(); }; })()"
navega pad 0 tira
navega pad 1 tira
sleep 0.5
navega js "Module.lidos = 0"
sleep 0.5
navega js Module.lidos
[ "$RESPOSTA" = 0 ] || falha "the page read the pads $RESPOSTA times in 0.5 s with none plugged in"
limpo "with gamepads"

# On phones and tablets the page plays by touch as by keys, in ChromeDriver's
# mobile emulation: swipes, taps and its buttons give the keys' pictures; it
# fits each screen with nothing to scroll; a flood leaves it as it was; and
# its full screen button works.
#   telefone.sh PAGE
source "$(dirname "$0")/../scripts/xvfb.sh"

# A phone, upright: swipes, the buttons and a tap give the keys' pictures.
navega movel 390 844
pagina "file://$1"
percurso tecla
pagina "file://$1"
GESTOS=1 percurso dedo
pagina "file://$1"
teclas Up
sleep 0.2
foto tecla-cima
pagina "file://$1"
navega toque '#canvas' 0 0
sleep 0.2
foto dedo-cima
iguais tecla dedo 0
igual tecla-cima dedo-cima 0

# On each screen the game and its buttons fit with nothing to scroll, the game
# at least half the largest picture that would fit, the buttons beside it when
# turned and below it when upright; and swipes, a double tap and a long press
# on it scroll, zoom and select nothing.
CABE=$(tr '\n' ' ' <<'EOF_'
(function () {
  var v = innerWidth, a = innerHeight, c = canvas.getBoundingClientRect(), m = Math.min(v / 690, a / 530), e = [];
  if (c.width * c.height < 690 * 530 * m * m / 2) e.push('the game is small');
  [canvas].concat([].slice.call(document.querySelectorAll('button'))).forEach(function (b) {
    var r = b.getBoundingClientRect(), n = b.textContent;
    if (r.left < 0 || r.top < 0 || r.right > v || r.bottom > a) e.push(n + ' is off the screen');
    if (b !== canvas && (r.width < 44 || r.height < 44)) e.push(n + ' is small');
    if (b !== canvas && !(v > a ? r.left >= c.right : r.top >= c.bottom)) e.push(n + ' is not beside or below');
  });
  if (document.documentElement.scrollWidth > v || document.documentElement.scrollHeight > a) e.push('the page scrolls');
  if (scrollX || scrollY || visualViewport.scale !== 1 || getSelection().toString()) e.push('a gesture scrolled, zoomed or selected');
  return e.join(', ');
})()
EOF_
)
for t in "390 844" "844 390" "640 360" "820 1180"; do
    navega movel $t
    navega toque '#canvas' 0 0
    navega toque '#canvas' 0 0
    navega toque '#canvas' 0 0 800
    navega dedos 0 Down Down Down Down Left Right
    navega js "$CABE"
    [ "$RESPOSTA" = '""' ] || falha "on a $t screen: $RESPOSTA"
done

# A flood of gestures, button taps and keys, the screen turned every 40, whose
# every eight leave the game where it was; then the heap has not grown, the
# game shows the start frame, its truck drives and a swipe moves the frog.
navega memoria
antes=$RESPOSTA
ciclo=("dedos 0 Up" "teclas 0 Left" "dedos 0 w" "dedos 0 Down" "toque #canvas 0 0" "dedos 0 Right" "dedos 0 s" "teclas 0 Down")
telas=("844 390" "640 360" "820 1180")
for i in $(seq 0 119); do
    [ $((i % 40)) -ne 0 ] || navega movel ${telas[i / 40]}
    navega ${ciclo[i % 8]}
done
navega movel 390 844
navega memoria
[ $((RESPOSTA - antes)) -lt $((1024 * 1024)) ] || falha "the heap grew from $antes to $RESPOSTA bytes in the flood"
sleep 0.2
foto depois
igual tecla-inicio depois 0
caminhao depois
x=$CAMINHAO
for _ in $(seq 10); do caminhao depois; [ "$x" = "$CAMINHAO" ] || break; done
[ "$x" != "$CAMINHAO" ] || falha "the truck stands still after the flood"
GESTOS=1 teclas Up
sleep 0.2
foto depois
echo "frog-row-1 15 2 0,255,0" | confere depois || falha "a swipe does not move the frog after the flood"

# The full screen button fills the screen with the game.
navega toque '[data-key=f]' 0 0
sleep 0.3
navega js "document.fullscreenElement.contains(canvas) && canvas.width === screen.width"
[ "$RESPOSTA" = true ] || falha "the full screen button does not fill the screen"
limpo "on a phone"

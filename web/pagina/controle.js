// Gamepads. The d-pad and the left stick are the arrow keys, A hops forward
// as a tap does, the right and left shoulders raise and lower the building,
// and Start fills the screen. Each press gives one key (entrada.js); a held
// button or stick does not repeat, as a held finger does not.
(function () {
  if (!navigator.getGamepads) return;

  // A pad the browser does not know comes in its own layout. Most have the
  // first button where A is and the shoulders at 4 and 5; their d-pad, where
  // it is a pair of axes after two sticks and the triggers, is 6 and 7. Their
  // Start is anywhere: none.
  var OUTRO = {botoes: {0: 'ArrowUp', 5: 'w', 4: 's'}, alavancas: [[0, 1], [6, 7]]};
  // The browser's standard layout has those buttons where they are, the
  // d-pad at 12 to 15 and Start at 9, whose 'f' is a key only where the page
  // can fill the screen, as the touch button is there only then.
  var PADRAO = {botoes: Object.assign({12: 'ArrowUp', 13: 'ArrowDown', 14: 'ArrowLeft', 15: 'ArrowRight', 9: 'f'},
                                      OUTRO.botoes),
                alavancas: [[0, 1]]};

  // A stick counts once it is pushed past half-way, in the direction it is
  // pushed most, and again only once it has come back near the centre: eased
  // back and pushed again, or drifting (no browser takes the drift away), it
  // gives nothing more.
  var LONGE = 0.5, PERTO = 0.3;
  function alavanca(g, eixos, fora) {
    var x = g.axes[eixos[0]] || 0, y = g.axes[eixos[1]] || 0, d = Math.sqrt(x * x + y * y);
    if (fora) return d >= PERTO;
    if (d <= LONGE) return false;
    entrada.seta(x, y);
    return true;
  }

  // Each pad known, by its index: what it held at the last look. A browser
  // gives a pad's state only when asked, so while there are pads it is asked
  // once a frame (a press of a frame or more is seen), and never otherwise.
  var pads = {}, olhando = false;
  function olha() {
    var todos = navigator.getGamepads();
    Object.keys(pads).forEach(function (i) {
      var g = todos[i], p = pads[i];
      if (!g) return;
      var m = g.mapping === 'standard' ? PADRAO : OUTRO;
      Object.keys(m.botoes).forEach(function (b) {
        var agora = !!(g.buttons[b] && g.buttons[b].pressed);
        if (agora && !p.botoes[b]) entrada.aperta(m.botoes[b]);
        p.botoes[b] = agora;
      });
      m.alavancas.forEach(function (eixos, k) {
        p.fora[k] = alavanca(g, eixos, p.fora[k]);
      });
    });
    olhando = Object.keys(pads).length > 0;
    if (olhando) requestAnimationFrame(olha);
  }

  // A browser shows a pad only once it has been pressed, and that press is
  // already in its first state: read it now.
  addEventListener('gamepadconnected', function (e) {
    pads[e.gamepad.index] = {botoes: {}, fora: []};
    document.getElementById('ajuda-toque').hidden = true;
    document.getElementById('ajuda-pad').hidden = false;
    if (!olhando) olha();
  });
  addEventListener('gamepaddisconnected', function (e) { delete pads[e.gamepad.index]; });
})();

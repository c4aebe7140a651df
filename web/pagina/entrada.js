// The keys that the page's own controls press, touch (toque.js) and pads
// (controle.js), by the names the keyboard gives them, with their codes. Each
// press is sent as the keyboard's own events, so the game cannot tell a
// finger or a pad from a key. The controls reach this as `entrada`, and come
// after it on the page.
var entrada = (function () {
  var CODIGOS = {ArrowUp: 38, ArrowDown: 40, ArrowLeft: 37, ArrowRight: 39, w: 87, s: 83, f: 70};
  // Full screen, for an element, only where the browser has it (not on
  // iPhones): elsewhere 'f' is no key of theirs.
  if (!(document.fullscreenEnabled || document.webkitFullscreenEnabled)) delete CODIGOS.f;

  // One press and its release; nothing for a key the page does not have.
  function aperta(nome) {
    var codigo = CODIGOS[nome];
    if (!codigo) return;
    ['keydown', 'keyup'].forEach(function (tipo) {
      window.dispatchEvent(new KeyboardEvent(tipo, {
        key: nome, keyCode: codigo, which: codigo, bubbles: true, cancelable: true
      }));
    });
  }

  return {
    aperta: aperta,
    tem: function (nome) { return nome in CODIGOS; },
    // The arrow of the way (dx, dy) goes most, y growing downwards, as it does
    // on the screen and along a pad's sticks.
    seta: function (dx, dy) {
      if (Math.abs(dx) > Math.abs(dy)) aperta(dx < 0 ? 'ArrowLeft' : 'ArrowRight');
      else aperta(dy < 0 ? 'ArrowUp' : 'ArrowDown');
    }
  };
})();

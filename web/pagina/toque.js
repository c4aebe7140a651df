// Touch. A swipe on the game is the arrow key of its direction, a tap is Up,
// and each button is its character key. Each gesture is one key, sent as the
// keyboard's own events, so the game cannot tell a finger from a key.
// One key press, as the keyboard's own events: the pads (controle.js) send
// theirs through here too.
function tecla(nome, codigo) {
  ['keydown', 'keyup'].forEach(function (tipo) {
    window.dispatchEvent(new KeyboardEvent(tipo, {
      key: nome, keyCode: codigo, which: codigo, bubbles: true, cancelable: true
    }));
  });
}

(function () {
  var canvas = document.getElementById('canvas');

  // A touch that travels this far, in CSS pixels, is a swipe.
  var SWIPE = 20;

  // Where each finger on the game went down; gone once it has given its key.
  var dedos = {};

  function deslize(dx, dy) {
    if (Math.abs(dx) > Math.abs(dy)) tecla(dx < 0 ? 'ArrowLeft' : 'ArrowRight', dx < 0 ? 37 : 39);
    else tecla(dy < 0 ? 'ArrowUp' : 'ArrowDown', dy < 0 ? 38 : 40);
  }

  function toque(e) {
    // The toolkit would turn touches into mouse events, which the game does
    // not use, and warn on every one: it never sees them.
    e.stopImmediatePropagation();
    if (e.target !== canvas) return;
    e.preventDefault(); // no scrolling, zooming, selecting or menus on the game
    for (var i = 0; i < e.changedTouches.length; i++) {
      var t = e.changedTouches[i], d = dedos[t.identifier];
      if (e.type === 'touchstart') {
        dedos[t.identifier] = {x: t.clientX, y: t.clientY};
        continue;
      }
      if (!d) continue;
      var dx = t.clientX - d.x, dy = t.clientY - d.y;
      var longe = Math.max(Math.abs(dx), Math.abs(dy)) >= SWIPE;
      // A swipe counts as soon as it has travelled; a held finger never repeats.
      if (longe && e.type !== 'touchcancel') deslize(dx, dy);
      else if (e.type === 'touchend') tecla('ArrowUp', 38);
      if (longe || e.type !== 'touchmove') delete dedos[t.identifier];
    }
  }
  // Capturing on window, and before the toolkit starts, so this runs first.
  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (tipo) {
    window.addEventListener(tipo, toque, {capture: true, passive: false});
  });
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });

  var botoes = document.querySelectorAll('button[data-key]');
  Array.prototype.forEach.call(botoes, function (b) {
    var k = b.getAttribute('data-key');
    if (k === 'f' && !(document.fullscreenEnabled || document.webkitFullscreenEnabled)) {
      b.remove(); // no full screen for an element here, as on iPhones
      return;
    }
    b.addEventListener('click', function () { tecla(k, k.toUpperCase().charCodeAt(0)); });
  });
})();

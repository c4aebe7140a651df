// Touch. A swipe on the game is the arrow key of its direction, a tap is Up,
// and each button is its character key: each gesture gives one key
// (entrada.js).
(function () {
  var canvas = document.getElementById('canvas');

  // A touch that travels this far, in CSS pixels, is a swipe.
  var SWIPE = 20;

  // Where each finger on the game went down; gone once it has given its key.
  var dedos = {};

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
      if (longe && e.type !== 'touchcancel') entrada.seta(dx, dy);
      else if (e.type === 'touchend') entrada.aperta('ArrowUp');
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
    if (!entrada.tem(k)) {
      b.remove(); // full screen, where the page cannot fill it
      return;
    }
    b.addEventListener('click', function () { entrada.aperta(k); });
  });
})();

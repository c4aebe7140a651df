// Sharpness. The canvas's drawing buffer should have one pixel for each pixel
// of the screen that the canvas covers, however dense the screen, or the
// browser stretches it and blurs every edge. This measures that size whenever
// the canvas's box or the screen's density changes; the game's layer gives it
// to the buffer when its next frame starts, and a still picture (the victory
// message) is asked to be drawn again at once.
(function () {
  var canvas = document.getElementById('canvas');

  function mede(largura, altura) {
    // A hidden canvas (the game over, or no WebGL) has nothing to draw.
    if (!largura || !altura) return;
    if (Module.tela && Module.tela[0] === largura && Module.tela[1] === altura) return;
    Module.tela = [largura, altura];
    _glutPostRedisplay();
  }

  function caixa() {
    var r = canvas.getBoundingClientRect();
    mede(Math.round(r.width * devicePixelRatio), Math.round(r.height * devicePixelRatio));
  }

  // Where the browser can say how many screen pixels the box covers, that is
  // the size, and it says so again when the density changes. Elsewhere it is
  // the box's size times the density, rounded, and a change of density alone
  // (a zoom, or the window moved to another screen) is watched for apart.
  var exato = true;
  var observador = new ResizeObserver(function (entradas) {
    var d = entradas[0].devicePixelContentBoxSize;
    if (d) mede(d[0].inlineSize, d[0].blockSize);
    else caixa();
  });
  try {
    observador.observe(canvas, {box: 'device-pixel-content-box'});
  } catch (e) {
    exato = false;
    observador.observe(canvas);
  }
  (function densidade() {
    matchMedia('(resolution: ' + devicePixelRatio + 'dppx)').addEventListener('change', function () {
      if (!exato) caixa();
      densidade();
    }, {once: true});
  })();
})();

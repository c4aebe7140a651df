// Sharpness. The canvas's drawing buffer should have one pixel for each pixel
// of the screen that the canvas covers, however dense the screen, or the
// browser stretches it and blurs every edge. This measures that size whenever
// the canvas's box, the window or the screen's density changes; the game's
// layer gives it to the buffer when its next frame starts, and a still
// picture (the victory message) is asked to be drawn again at once.
(function () {
  var canvas = document.getElementById('canvas');

  // The browser lays the box's edges on the nearest pixels of the screen, so
  // those are counted, not the box's size times the density.
  // True when the size has changed.
  function mede() {
    var r = canvas.getBoundingClientRect(), k = devicePixelRatio;
    var w = Math.round(r.right * k) - Math.round(r.left * k);
    var h = Math.round(r.bottom * k) - Math.round(r.top * k);
    if (!w || !h) return false; // hidden: the game is over, or has no WebGL
    if (Module.tela && Module.tela[0] === w && Module.tela[1] === h) return false;
    Module.tela = [w, h];
    return true;
  }
  function remede() {
    if (mede()) _glutPostRedisplay();
  }

  // Measured now, so that the very first frame is drawn sharp; the toolkit
  // is not up yet to be asked for a frame.
  mede();
  new ResizeObserver(remede).observe(canvas);
  addEventListener('resize', remede);
  // A zoom, or the window moved to a screen of another density.
  (function densidade() {
    matchMedia('(resolution: ' + devicePixelRatio + 'dppx)').addEventListener('change', function () {
      remede();
      densidade();
    }, {once: true});
  })();
})();

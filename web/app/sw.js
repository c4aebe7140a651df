// The site's worker: it keeps every file of the site in one cache, named by a
// hash of all of them made when the site was built, and answers from it
// first, so the game plays with no network. A new build is a new worker with
// a new cache; once it has the new files it takes over and drops the old.
var CACHE = 'zandrel ' + self.registration.scope + ' ';
var VERSAO = CACHE + '@VERSAO@';
var ARQUIVOS = [@ARQUIVOS@];

self.addEventListener('install', function (e) {
  e.waitUntil(caches.open(VERSAO).then(function (c) {
    // Past the browser's own cache: the files must be this build's.
    return c.addAll(ARQUIVOS.map(function (a) { return new Request(a, {cache: 'reload'}); }));
  }).then(function () { return self.skipWaiting(); }));
});

// Only this site's caches of other builds go: another site of the same
// origin has another scope.
self.addEventListener('activate', function (e) {
  e.waitUntil(caches.keys().then(function (nomes) {
    return Promise.all(nomes.filter(function (n) {
      return n.indexOf(CACHE) === 0 && n !== VERSAO;
    }).map(function (n) { return caches.delete(n); }));
  }).then(function () { return self.clients.claim(); }));
});

self.addEventListener('fetch', function (e) {
  if (e.request.method !== 'GET') return;
  e.respondWith(caches.open(VERSAO).then(function (c) {
    return c.match(e.request, {ignoreSearch: true});
  }).then(function (r) { return r || fetch(e.request); }));
});

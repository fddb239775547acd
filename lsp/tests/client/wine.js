// quenlit.exe under Wine, as the editor extension on Windows starts it: Microsoft's
// protocol libraries initialize it on a workspace of Shift-JIS files and wait for
// its diagnostics. Binary stdio matters here: one CR added would break every frame.
// usage: node wine.js RUNNER QUENLIT_EXE SOURCE_DIR
'use strict';
const assert = require('node:assert/strict');
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const rpc = require('vscode-jsonrpc/node');

const [runner, exe, root] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quenlit-wine-'));
for (const f of ['main.lsp', 'lib.lsp']) fs.copyFileSync(path.join(root, 'lsp/tests/fixtures', f), path.join(work, f));

// stderr through a pipe of our own: Wine's helper processes would otherwise keep
// ctest's pipe open after the test has ended.
const server = spawn(runner, [exe, 'lsp'], { stdio: ['pipe', 'pipe', 'pipe'] });
server.stderr.on('data', (d) => process.stderr.write(d));
const exited = new Promise((resolve) => server.on('exit', (code) => resolve(code)));
const conn = rpc.createMessageConnection(new rpc.StreamMessageReader(server.stdout), new rpc.StreamMessageWriter(server.stdin));
const published = new Promise((resolve) => conn.onNotification('textDocument/publishDiagnostics', (p) => {
  if (/\/main\.lsp$/i.test(p.uri)) resolve(p);
}));
conn.listen();

async function main() {
  const init = await conn.sendRequest('initialize', {
    processId: null, rootUri: null, capabilities: {},
    workspaceFolders: [{ uri: 'file:///Z:' + work.split(path.sep).map(encodeURIComponent).join('/'), name: 'work' }],
  });
  assert.equal(init.capabilities.positionEncoding, 'utf-16');
  conn.sendNotification('initialized', {});
  const timeout = new Promise((_, reject) => setTimeout(() => reject(new Error('no diagnostics within 60 s')), 60000));
  const d = await Promise.race([published, timeout]);
  const found = d.diagnostics.find((x) => x.code === 'var-undeclared');
  assert.deepEqual(found?.range, { start: { line: 3, character: 21 }, end: { line: 3, character: 26 } },
    'total after the Japanese string of a Shift-JIS file, in UTF-16 units');
  assert.equal(await conn.sendRequest('shutdown'), null);
  conn.sendNotification('exit');
  assert.equal(await exited, 0);
}

main().then(() => { console.log('quenlit.exe lsp under Wine: passed'); process.exit(0); },
  (e) => { console.error(e); server.kill(); process.exit(1); });

// Microsoft's protocol libraries (vscode-jsonrpc, vscode-languageserver-protocol) drive
// `quenlit lsp` through a whole session; every answer and notification is checked
// against the LSP 3.17 meta model when it lies beside the checkout.
// usage: node lifecycle.js QUENLIT SOURCE_DIR
'use strict';
const assert = require('node:assert/strict');
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const rpc = require('vscode-jsonrpc/node');
const { ResponseError } = require('vscode-jsonrpc');

const [quenlit, root] = process.argv.slice(2);
const metaPath = path.join(root, '..', 'shared', 'data', 'lsp-3.17', 'metaModel', 'metaModel.json');
const meta = fs.existsSync(metaPath) ? JSON.parse(fs.readFileSync(metaPath, 'utf8')) : null;
if (!meta) console.log(`NOTE: no meta model at ${metaPath}: messages are not checked against it`);

// --- the meta model as a checker ---
const byName = (list) => Object.fromEntries((list || []).map((x) => [x.name, x]));
const structures = byName(meta?.structures), enums = byName(meta?.enumerations), aliases = byName(meta?.typeAliases);
function properties(s) {
  const own = [...s.properties];
  for (const t of [...(s.extends || []), ...(s.mixins || [])]) own.push(...properties(structures[t.name]));
  return own;
}
function problems(type, v, at) {
  const isObj = v !== null && typeof v === 'object' && !Array.isArray(v);
  switch (type.kind) {
    case 'base': {
      const ok = { string: typeof v === 'string', DocumentUri: typeof v === 'string', URI: typeof v === 'string',
        integer: Number.isInteger(v), uinteger: Number.isInteger(v) && v >= 0, decimal: typeof v === 'number',
        boolean: typeof v === 'boolean', null: v === null, RegExp: typeof v === 'string' }[type.name];
      return ok ? [] : [`${at}: not ${type.name}: ${JSON.stringify(v)}`];
    }
    case 'reference':
      if (structures[type.name]) return object(properties(structures[type.name]), v, at, type.name);
      if (enums[type.name]) {
        const e = enums[type.name];
        return e.supportsCustomValues || e.values.some((x) => x.value === v) ? [] : [`${at}: ${v} is no ${type.name}`];
      }
      return problems(aliases[type.name].type, v, at);
    case 'array':
      return Array.isArray(v) ? v.flatMap((x, i) => problems(type.element, x, `${at}[${i}]`)) : [`${at}: no array`];
    case 'tuple':
      return Array.isArray(v) ? type.items.flatMap((t, i) => problems(t, v[i], `${at}[${i}]`)) : [`${at}: no tuple`];
    case 'map':
      return isObj ? Object.entries(v).flatMap(([k, x]) => problems(type.value, x, `${at}.${k}`)) : [`${at}: no map`];
    case 'literal': return object(type.value.properties, v, at, 'literal');
    case 'stringLiteral': return v === type.value ? [] : [`${at}: not "${type.value}"`];
    case 'or': {
      const each = type.items.map((t) => problems(t, v, at));
      return each.some((p) => p.length === 0) ? [] : [`${at}: matches none of ${type.items.length} types (${each[0][0]})`];
    }
    case 'and': return type.items.flatMap((t) => problems(t, v, at));
  }
  return [`${at}: unknown kind ${type.kind}`];
}
function object(props, v, at, name) {
  if (v === null || typeof v !== 'object' || Array.isArray(v)) return [`${at}: ${name} is no object`];
  const out = [];
  const known = new Set(props.map((p) => p.name));
  for (const k of Object.keys(v)) if (!known.has(k)) out.push(`${at}: ${name} has no property ${k}`);
  for (const p of props) {
    if (!(p.name in v)) { if (!p.optional) out.push(`${at}: ${name} lacks ${p.name}`); continue; }
    out.push(...problems(p.type, v[p.name], `${at}.${p.name}`));
  }
  return out;
}
let checked = 0;
function conforms(kind, method, value) {
  if (!meta) return;
  const entry = (kind === 'result' ? meta.requests : meta.notifications).find((r) => r.method === method);
  assert.ok(entry, `the meta model knows ${method}`);
  const type = kind === 'result' ? entry.result : entry.params;
  assert.deepEqual(problems(type, value, method), [], `${method} ${kind} conforms to the meta model`);
  ++checked;
}

// --- the session ---
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quenlit-lsp-'));
for (const f of ['main.lsp', 'lib.lsp']) fs.copyFileSync(path.join(root, 'lsp/tests/fixtures', f), path.join(work, f));
const uriOf = (f) => 'file://' + path.join(work, f).split(path.sep).map(encodeURIComponent).join('/');
const mainUri = uriOf('main.lsp'), libUri = uriOf('lib.lsp');

const server = spawn(quenlit, ['lsp'], { stdio: ['pipe', 'pipe', 'pipe'] });
let stderr = '';
server.stderr.on('data', (d) => { stderr += d; });
const exited = new Promise((resolve) => server.on('exit', (code) => resolve(code)));
const conn = rpc.createMessageConnection(new rpc.StreamMessageReader(server.stdout), new rpc.StreamMessageWriter(server.stdin));
const notes = [];
let waiters = [];
conn.onNotification((method, params) => {
  conforms('params', method, params);
  notes.push({ method, params });
  waiters = waiters.filter((w) => !w());
});
conn.listen();
// Resolves with the first notification (seen or to come) that `pred` accepts.
function notification(pred, what) {
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`no ${what} within 10 s`)), 10000);
    const look = () => {
      const n = notes.find(pred);
      if (n) { clearTimeout(timer); notes.splice(notes.indexOf(n), 1); resolve(n.params); }
      return !!n;
    };
    if (!look()) waiters.push(look);
  });
}
const diagnosticsOf = (uri, pred = () => true) => notification(
  (n) => n.method === 'textDocument/publishDiagnostics' && n.params.uri === uri && pred(n.params), `diagnostics for ${uri}`);
async function request(method, params) {
  const result = await conn.sendRequest(method, params);
  conforms('result', method, result);
  return result;
}
async function refused(method, params, code) {
  await assert.rejects(conn.sendRequest(method, params), (e) => e instanceof ResponseError && e.code === code,
    `${method} is refused with ${code}`);
}

async function main() {
  await refused('textDocument/hover', { textDocument: { uri: mainUri }, position: { line: 0, character: 0 } }, -32002);
  const init = await request('initialize', {
    processId: process.pid, rootUri: null, capabilities: { general: { positionEncodings: ['utf-8', 'utf-16'] } },
    workspaceFolders: [{ uri: 'file://' + work, name: 'work' }],
    initializationOptions: { quenlit: { globals: ['*app-*'] } },
  });
  assert.equal(init.capabilities.positionEncoding, 'utf-8', 'UTF-8 positions when the client prefers them');
  conn.sendNotification('initialized', {});

  // From disk (Shift-JIS), before any didOpen: the column counts UTF-8 bytes.
  const line = '  (princ "本数") (setq total (add-one n))';
  const byte = Buffer.byteLength(line.slice(0, line.indexOf('total')));
  let d = await diagnosticsOf(mainUri);
  const undeclared = d.diagnostics.find((x) => x.code === 'var-undeclared');
  assert.deepEqual(undeclared.range, { start: { line: 3, character: byte }, end: { line: 3, character: byte + 5 } });
  assert.equal(undeclared.source, 'quenlit');
  assert.equal(undeclared.severity, 2);
  assert.match(undeclared.codeDescription?.href ?? '', /README\.md#var-undeclared$/);
  assert.equal(undeclared.relatedInformation[0].location.range.start.line, 1, 'related: the defun c:count');

  // The editor's text takes precedence; an incremental edit adds a finding, version 2.
  const text = fs.readFileSync(path.join(work, 'main.lsp'), 'latin1');  // the bytes do not matter here
  const lines = ['(defun c:count (/ n)', '  (setq n 0)', '  (princ n)', ')'];
  conn.sendNotification('textDocument/didOpen', { textDocument: { uri: mainUri, languageId: 'autolisp', version: 1, text: lines.join('\n') } });
  d = await diagnosticsOf(mainUri, (p) => p.version === 1);
  assert.deepEqual(d.diagnostics.map((x) => x.code), [], `no findings in the opened text (${text.length} bytes on disk)`);
  conn.sendNotification('textDocument/didChange', {
    textDocument: { uri: mainUri, version: 2 },
    contentChanges: [{ range: { start: { line: 2, character: 2 }, end: { line: 2, character: 2 } }, text: '(setq zz 1) ' }],
  });
  d = await diagnosticsOf(mainUri, (p) => p.version === 2);
  assert.deepEqual(d.diagnostics.map((x) => [x.code, x.range.start.line, x.range.start.character]), [['var-undeclared', 2, 8]]);

  // A range outside the document is refused with a log, until the next full text.
  conn.sendNotification('textDocument/didChange', {
    textDocument: { uri: mainUri, version: 3 },
    contentChanges: [{ range: { start: { line: 99, character: 0 }, end: { line: 99, character: 1 } }, text: 'x' }],
  });
  const log = await notification((n) => n.method === 'window/logMessage' && /outside/.test(n.params.message), 'a log of the bad range');
  assert.equal(log.type, 1);
  conn.sendNotification('textDocument/didChange', { textDocument: { uri: mainUri, version: 4 }, contentChanges: [{ text: lines.join('\n') }] });
  d = await diagnosticsOf(mainUri, (p) => p.version === 4);
  assert.deepEqual(d.diagnostics, [], 'resynchronised from the full text');

  // Positions inside a character (here the UTF-8 bytes of an emoji) or past a line's end are clamped.
  const pairUri = uriOf('pair.lsp');
  conn.sendNotification('textDocument/didOpen', { textDocument: { uri: pairUri, languageId: 'autolisp', version: 1,
    text: '(defun f () (princ "\u{1F600}") (setq g 1))' } });
  conn.sendNotification('textDocument/didChange', { textDocument: { uri: pairUri, version: 2 }, contentChanges: [
    { range: { start: { line: 0, character: 22 }, end: { line: 0, character: 22 } }, text: 'x' },
    { range: { start: { line: 0, character: 999 }, end: { line: 0, character: 999 } }, text: ' ;end' }] });
  d = await diagnosticsOf(pairUri, (p) => p.version === 2);
  const expected = '(defun f () (princ "x\u{1F600}") (setq g 1)) ;end';
  const g = d.diagnostics.find((x) => x.code === 'var-undeclared');
  assert.equal(g.range.start.character, Buffer.byteLength(expected.slice(0, expected.indexOf('g 1'))), 'x went before the emoji');
  const folds2 = await request('textDocument/documentSymbol', { textDocument: { uri: pairUri } });
  assert.equal(folds2[0].range.end.character, Buffer.byteLength(expected.slice(0, expected.indexOf(' ;end'))), 'the comment went to the end');

  // The features, on lib.lsp as the disk holds it.
  const symbols = await request('textDocument/documentSymbol', { textDocument: { uri: libUri } });
  assert.deepEqual(symbols.map((s) => [s.name, s.detail]), [['add-one', '(n)']]);
  const def = await request('textDocument/definition', { textDocument: { uri: libUri }, position: { line: 3, character: 5 } });
  assert.deepEqual(def, { uri: libUri, range: { start: { line: 2, character: 16 }, end: { line: 2, character: 17 } } }, 'n: the argument');
  const refs = await request('textDocument/references', { textDocument: { uri: libUri }, position: { line: 2, character: 16 }, context: { includeDeclaration: true } });
  assert.deepEqual(refs.map((r) => r.range.start.line), [2, 3]);
  const hover = await request('textDocument/hover', { textDocument: { uri: libUri }, position: { line: 3, character: 3 } });
  assert.match(hover.contents.value, /^```autolisp\n\(\+ number\?<integer\|real>\.\.\.\)\n```\nReturns the sum of all numbers\n\n`\+`: built-in function/);
  const folds = await request('textDocument/foldingRange', { textDocument: { uri: libUri } });
  assert.deepEqual(folds, [{ startLine: 2, endLine: 4 }]);
  await request('textDocument/documentHighlight', { textDocument: { uri: libUri }, position: { line: 2, character: 8 } });
  const actions = await request('textDocument/codeAction', {
    textDocument: { uri: mainUri }, range: { start: { line: 0, character: 0 }, end: { line: 3, character: 0 } }, context: { diagnostics: [] } });
  assert.deepEqual(actions, [], 'no fix where nothing was found');
  await refused('textDocument/noSuchThing', {}, -32601);

  // In lib.lsp "  (+ n 1)": after "(+ n " the second argument; completion of "ad" below it.
  const help = await request('textDocument/signatureHelp', { textDocument: { uri: libUri }, position: { line: 3, character: 7 } });
  assert.match(help.signatures[0].documentation, /built-in, 0 or more arguments/);
  conn.sendNotification('textDocument/didOpen', { textDocument: { uri: uriOf('new.lsp'), languageId: 'autolisp', version: 1,
    text: '(defun f (alpha / beta)\n  (add-one (a' } });
  const items = (await request('textDocument/completion', { textDocument: { uri: uriOf('new.lsp') }, position: { line: 1, character: 13 } })).items;
  const labels = items.map((i) => i.label);
  assert.ok(labels.includes('alpha') && labels.includes('add-one') && !labels.includes('beta'), `completion of "a": ${labels.slice(0, 20)}`);
  assert.equal(items.find((i) => i.label === 'add-one').detail, 'user function, 1 argument');
  const sig = await request('textDocument/signatureHelp', { textDocument: { uri: uriOf('new.lsp') }, position: { line: 1, character: 11 } });
  assert.deepEqual([sig.signatures[0].label, sig.activeParameter], ['(add-one n)', 0]);
  conn.sendNotification('textDocument/didClose', { textDocument: { uri: uriOf('new.lsp') } });  // never saved: gone

  // Semantic tokens of "(defun f (alpha / beta) (setq g alpha) (princ beta))": the global g stands apart.
  const semUri = uriOf('sem.lsp');
  conn.sendNotification('textDocument/didOpen', { textDocument: { uri: semUri, languageId: 'autolisp', version: 1,
    text: '(defun f (alpha / beta) (setq g alpha) (princ beta))' } });
  const legend = init.capabilities.semanticTokensProvider.legend;
  const decode = (data) => {
    const out = []; let line = 0, col = 0;
    for (let i = 0; i < data.length; i += 5) {
      line += data[i]; col = data[i] ? data[i + 1] : col + data[i + 1];
      const mods = legend.tokenModifiers.filter((_, k) => data[i + 4] & (1 << k));
      out.push([col, data[i + 2], legend.tokenTypes[data[i + 3]], ...mods].join(' '));
    }
    return out;
  };
  const sem = await request('textDocument/semanticTokens/full', { textDocument: { uri: semUri } });
  assert.deepEqual(decode(sem.data), ['1 5 function defaultLibrary', '7 1 function declaration', '10 5 parameter declaration', '18 4 variable declaration',
    '25 4 function defaultLibrary', '30 1 variable global', '32 5 parameter', '40 5 function defaultLibrary', '46 4 variable']);
  conn.sendNotification('textDocument/didChange', { textDocument: { uri: semUri, version: 2 }, contentChanges: [{ text: '(defun f (alpha / beta) (setq beta alpha) (princ beta))' }] });
  const delta = await request('textDocument/semanticTokens/full/delta', { textDocument: { uri: semUri }, previousResultId: sem.resultId });
  assert.equal(delta.edits.length, 1, 'one edit from the last result');

  const found = await request('workspace/symbol', { query: 'ADD' });
  assert.deepEqual(found.map((x) => [x.name, x.location.uri]), [['add-one', libUri]]);
  await refused('textDocument/prepareRename', { textDocument: { uri: libUri }, position: { line: 3, character: 3 } }, -32803);
  const prep = await request('textDocument/prepareRename', { textDocument: { uri: libUri }, position: { line: 3, character: 5 } });
  assert.equal(prep.placeholder, 'n');
  await refused('textDocument/rename', { textDocument: { uri: libUri }, position: { line: 3, character: 5 }, newName: '+' }, -32803);
  const renamed = await request('textDocument/rename', { textDocument: { uri: libUri }, position: { line: 3, character: 5 }, newName: 'count' });
  assert.deepEqual(renamed.changes[libUri].map((e) => [e.range.start.line, e.range.start.character, e.newText]),
    [[2, 16, 'count'], [3, 5, 'count']], 'the argument and its use');
  conn.sendNotification('textDocument/didChange', { textDocument: { uri: mainUri, version: 5 }, contentChanges: [{ text: '(defun c:count () (add-one 1))' }] });
  const fn = await request('textDocument/rename', { textDocument: { uri: libUri }, position: { line: 2, character: 8 }, newName: 'inc' });
  assert.deepEqual(Object.keys(fn.changes).sort(), [libUri, mainUri].sort(), 'a function is renamed in every file');
  assert.deepEqual(fn.changes[mainUri].map((e) => e.range), [{ start: { line: 0, character: 19 }, end: { line: 0, character: 26 } }],
    'in the open text, not the disk\'s');

  // lib.lsp changes on disk behind the editor's back; the client watches nothing, so a save notices.
  fs.writeFileSync(path.join(work, 'lib.lsp'), '(defun add-one (n / unused)\r\n  (+ n 1))\r\n');
  const later = new Date(Date.now() + 5000);
  fs.utimesSync(path.join(work, 'lib.lsp'), later, later);
  conn.sendNotification('textDocument/didSave', { textDocument: { uri: mainUri } });
  d = await diagnosticsOf(libUri, (p) => p.diagnostics.some((x) => x.code === 'var-unused-local'));
  assert.equal(d.diagnostics.find((x) => x.code === 'var-unused-local').range.start.line, 0);

  assert.equal(await request('shutdown', undefined), null);
  conn.sendNotification('exit');
  assert.equal(await exited, 0, 'exit 0 after shutdown');
  assert.ok(/files read below/.test(stderr), 'the log goes to stderr');
}

// Bytes that are no protocol: the server logs, goes on, and ends with 1 when stdin closes.
async function hostile() {
  const p = spawn(quenlit, ['lsp'], { stdio: ['pipe', 'pipe', 'pipe'] });
  let out = Buffer.alloc(0);
  p.stdout.on('data', (d) => { out = Buffer.concat([out, d]); });
  const frame = (s) => `Content-Length: ${Buffer.byteLength(s)}\r\n\r\n${s}`;
  p.stdin.write(frame('{"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}}'));
  p.stdin.write(frame('{not json'));
  p.stdin.write('Content-Length: banana\r\n\r\n');
  p.stdin.write('Content-Length: 3\r\n\r\n{"jsonrpc"');  // shorter than announced: the rest is skipped
  p.stdin.write(frame('{"jsonrpc":"2.0","id":2,"method":"shutdown"}'));
  p.stdin.end('Content-Length: 100\r\n\r\n{"cut');  // stdin closes inside a message
  const code = await new Promise((resolve) => p.on('exit', resolve));
  const text = out.toString('utf8');
  assert.equal(code, 0, 'shutdown received, then the input ended: exit 0');
  assert.match(text, /"id":2,"jsonrpc":"2.0","result":null/, 'still answering after the broken messages');
  assert.match(text, /ParseError/);
  assert.ok(text.split(/Content-Length: \d+\r\n\r\n/).slice(1).every((b) => { try { JSON.parse(b); return true; } catch { return false; } }),
    'nothing but framed JSON on stdout');
}

// exit without shutdown: code 1.
async function exitAlone() {
  const p = spawn(quenlit, ['lsp'], { stdio: ['pipe', 'ignore', 'ignore'] });
  const frame = (s) => `Content-Length: ${Buffer.byteLength(s)}\r\n\r\n${s}`;
  p.stdin.write(frame('{"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}}') + frame('{"jsonrpc":"2.0","method":"exit"}'));
  assert.equal(await new Promise((resolve) => p.on('exit', resolve)), 1, 'exit without shutdown: 1');
}

main().then(hostile).then(exitAlone).then(() => {
  console.log(`lsp lifecycle: passed (${checked} messages checked against the meta model)`);
  process.exit(0);
}, (e) => {
  console.error(e);
  console.error(stderr);
  process.exit(1);
});

-- Neovim's own language client against `quenlit lsp`, end to end: a Shift-JIS file
-- opened from disk, diagnostics at their place, a jump into another file, hover with
-- the Japanese comment, the quick fix applied to the buffer, and a rename.
-- Run by nvim-client.sh: QUENLIT and WORKSPACE come from the environment.
local quenlit, dir = os.getenv('QUENLIT'), os.getenv('WORKSPACE')
local failures = {}
local function check(ok, what)
  if not ok then table.insert(failures, what) end
  io.stderr:write((ok and 'ok   ' or 'FAIL ') .. what .. '\n')
end

local function diagnosticCode(d)
  return d.code or (d.user_data and d.user_data.lsp and d.user_data.lsp.code)
end
local function findings(buf, code)
  local out = {}
  for _, d in ipairs(vim.diagnostic.get(buf)) do
    if diagnosticCode(d) == code then table.insert(out, d) end
  end
  return out
end
-- The protocol position (UTF-16) of the first `text` on 0-based line `row`.
local function positionOf(buf, row, text)
  local line = vim.api.nvim_buf_get_lines(buf, row, row + 1, true)[1]
  local byte = line:find(text, 1, true) - 1
  local _, utf16 = vim.str_utfindex(line, byte)
  return { line = row, character = utf16 }, byte
end

local function run()
  vim.cmd('set fileencodings=ucs-bom,utf-8,cp932')
  vim.cmd('edit ' .. vim.fn.fnameescape(dir .. '/main.lsp'))
  local buf = vim.api.nvim_get_current_buf()
  check(vim.bo[buf].fileencoding == 'cp932', 'main.lsp is read as cp932 (got ' .. vim.bo[buf].fileencoding .. ')')

  local id = vim.lsp.start_client({ cmd = { quenlit, 'lsp' }, root_dir = dir, name = 'quenlit' })
  check(id ~= nil, 'the client starts quenlit lsp')
  vim.lsp.buf_attach_client(buf, id)

  local arrived = vim.wait(10000, function() return #findings(buf, 'var-undeclared') > 0 end, 20)
  check(arrived, 'var-undeclared arrives for main.lsp')
  if not arrived then return end
  local d = findings(buf, 'var-undeclared')[1]
  local _, byte = positionOf(buf, 3, 'total')
  check(d.lnum == 3 and d.col == byte and d.end_col == byte + 5,
    string.format('the finding covers total after the Japanese string (line %d col %d-%d, want 3 %d-%d)',
      d.lnum, d.col, d.end_col, byte, byte + 5))
  check(d.severity == vim.diagnostic.severity.WARN, 'a warning')

  local uri = vim.uri_from_bufnr(buf)
  local pos = positionOf(buf, 3, 'add-one')
  local res = vim.lsp.buf_request_sync(buf, 'textDocument/definition',
    { textDocument = { uri = uri }, position = pos }, 5000)
  local loc = res and res[id] and res[id].result
  loc = loc and (loc[1] or loc)
  check(loc ~= nil and loc.uri:sub(-8) == '/lib.lsp' and loc.range.start.line == 2,
    'definition of add-one is line 3 of lib.lsp')
  if loc then
    vim.lsp.util.jump_to_location(loc, 'utf-16')
    local here = vim.api.nvim_get_current_buf()
    local cursor = vim.api.nvim_win_get_cursor(0)
    local line = vim.api.nvim_buf_get_lines(here, cursor[1] - 1, cursor[1], true)[1]
    check(vim.api.nvim_buf_get_name(here):sub(-8) == '/lib.lsp' and line:sub(cursor[2] + 1, cursor[2] + 7) == 'add-one',
      'the jump lands on add-one in lib.lsp')
    check(vim.bo[here].fileencoding == 'cp932', 'lib.lsp is read as cp932 too')
    vim.api.nvim_set_current_buf(buf)
  end

  res = vim.lsp.buf_request_sync(buf, 'textDocument/hover', { textDocument = { uri = uri }, position = pos }, 5000)
  local hover = res and res[id] and res[id].result
  local value = hover and hover.contents and (hover.contents.value or '') or ''
  check(value:find('一つ足す', 1, true) ~= nil and value:find('(defun add-one (n)', 1, true) ~= nil,
    'hover shows the Japanese comment and the signature: ' .. value)

  local range = { start = { line = d.lnum, character = 0 }, ['end'] = { line = d.lnum, character = 0 } }
  res = vim.lsp.buf_request_sync(buf, 'textDocument/codeAction',
    { textDocument = { uri = uri }, range = range, context = { diagnostics = {} } }, 5000)
  local fix
  for _, a in ipairs(res and res[id] and res[id].result or {}) do
    if a.title == 'declare total local to c:count' then fix = a end
  end
  check(fix ~= nil, 'the quick fix "declare total local to c:count" is offered')
  if not fix then return end
  vim.lsp.util.apply_workspace_edit(fix.edit, 'utf-16')
  local defun = vim.api.nvim_buf_get_lines(buf, 1, 2, true)[1]
  check(defun == '(defun c:count (/ n total)', 'the fix declares total: ' .. defun)
  local gone = vim.wait(10000, function() return #findings(buf, 'var-undeclared') == 0 end, 20)
  check(gone, 'the finding goes once the buffer changed')

  -- Rename the local n: the declaration and both uses, nothing else.
  res = vim.lsp.buf_request_sync(buf, 'textDocument/rename',
    { textDocument = { uri = uri }, position = positionOf(buf, 2, 'n'), newName = 'cnt' }, 5000)
  local edit = res and res[id] and res[id].result
  check(edit ~= nil, 'rename answers with an edit')
  if edit then
    vim.lsp.util.apply_workspace_edit(edit, 'utf-16')
    local text = table.concat(vim.api.nvim_buf_get_lines(buf, 1, 4, true), '|')
    check(text == '(defun c:count (/ cnt total)|  (setq cnt 0)|  (princ "本数") (setq total (add-one cnt))',
      'n is renamed to cnt: ' .. text)
  end
  vim.lsp.stop_client(id)
end

local ok, err = pcall(run)
check(ok, 'the script ran without error ' .. tostring(err))
if #failures > 0 then vim.cmd('cquit 1') else vim.cmd('qall!') end

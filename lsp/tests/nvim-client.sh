#!/bin/sh
# Neovim's built-in client (Debian's neovim) drives `quenlit lsp`; exit 77 when it is missing.
# usage: nvim-client.sh QUENLIT SOURCE_DIR
set -eu
quenlit=$1; here=$2/lsp/tests
if ! command -v nvim >/dev/null 2>&1; then
  echo "SKIP: nvim is not installed (scripts/setup installs Debian's neovim)"; exit 77
fi
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cp "$here/fixtures/main.lsp" "$here/fixtures/lib.lsp" "$work/"
export QUENLIT="$quenlit" WORKSPACE="$work" HOME="$work"
timeout 60 nvim --headless -u NONE -i NONE -n -c "luafile $here/nvim_client.lua"

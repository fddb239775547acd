#!/bin/sh
# quenlit.exe lsp under Wine, driven by Microsoft's protocol libraries; exit 77 when they cannot be had.
# usage: wine-client.sh RUNNER QUENLIT_EXE SOURCE_DIR
set -eu
client=$3/lsp/tests/client
if ! command -v node >/dev/null 2>&1; then
  echo "SKIP: node is not installed (scripts/setup installs Debian's nodejs and npm)"; exit 77
fi
if [ ! -d "$client/node_modules/vscode-languageserver-protocol" ]; then
  if ! (cd "$client" && npm ci --no-audit --no-fund >/dev/null 2>&1); then
    echo "SKIP: npm could not install vscode-jsonrpc and vscode-languageserver-protocol into $client"; exit 77
  fi
fi
exec timeout 150 node "$client/wine.js" "$1" "$2" "$3"

#!/bin/sh
# Microsoft's protocol libraries from npm (pinned in lsp/tests/client) drive `quenlit lsp`;
# exit 77 when node or the libraries cannot be had.
# usage: node-client.sh QUENLIT SOURCE_DIR
set -eu
quenlit=$1; client=$2/lsp/tests/client
if ! command -v node >/dev/null 2>&1; then
  echo "SKIP: node is not installed (scripts/setup installs Debian's nodejs and npm)"; exit 77
fi
if [ ! -d "$client/node_modules/vscode-languageserver-protocol" ]; then
  if ! (cd "$client" && npm ci --no-audit --no-fund >/dev/null 2>&1); then
    echo "SKIP: npm could not install vscode-jsonrpc and vscode-languageserver-protocol into $client"; exit 77
  fi
fi
exec timeout 120 node "$client/lifecycle.js" "$quenlit" "$2"

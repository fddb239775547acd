// The requests that read code: outline, jumps, hover and the quick fixes. Each
// reads the document's tree afresh, so an answer always matches the text as it is.
#pragma once

#include "Workspace.h"

namespace quenlit::lsp {

Json documentSymbols(Workspace& ws, Document& doc);
Json definition(Workspace& ws, Document& doc, const Json& position);
Json references(Workspace& ws, Document& doc, const Json& position, bool includeDeclaration);
Json documentHighlight(Workspace& ws, Document& doc, const Json& position);
Json hover(Workspace& ws, Document& doc, const Json& position);
Json codeActions(Workspace& ws, Document& doc, const Json& range);
Json foldingRanges(Workspace& ws, Document& doc);

}  // namespace quenlit::lsp

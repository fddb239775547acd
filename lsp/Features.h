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
Json workspaceSymbols(Workspace& ws, const std::string& query);
// Names in scope, user functions and built-ins that start with what stands before the cursor.
Json completion(Workspace& ws, Document& doc, const Json& position);
Json signatureHelp(Workspace& ws, Document& doc, const Json& position);

// Semantic tokens: user and built-in functions, arguments, locals, lambda and loop
// variables, and globals (variables no scope binds), so that an editor colours a
// global apart from a local. The legend is in the server's capabilities.
Json semanticTokensLegend();
std::vector<uint32_t> semanticTokens(Workspace& ws, Document& doc);

// Rename of a variable within its scope or of a user function across the workspace.
// Refusals (built-ins, names that would collide, no name at all) are thrown.
struct RenameRefused {
  std::string reason;
};
Json prepareRename(Workspace& ws, Document& doc, const Json& position);
Json rename(Workspace& ws, Document& doc, const Json& position, const std::string& newName);

}  // namespace quenlit::lsp

#include <cstdlib>
#include <iostream>

#include "Commands.h"
#include "Server.h"

namespace quenlit::cli {

int cmdLsp(Context& ctx) {
  if (!ctx.args.empty()) return usageError(ctx, "lsp takes no arguments: it talks on stdin and stdout");
  std::ios::sync_with_stdio(false);
  // A read of std::cin flushes std::cout first: from the reader thread, that would race
  // the writes of the main thread and tear the frames.
  std::cin.tie(nullptr);
  const int rc = lsp::runStdio(std::cin, ctx.out, ctx.err, ctx.exeDir);
  ctx.out.flush();
  ctx.err.flush();
  // The stdin reader may still be blocked in a read: end without waiting for it.
  std::_Exit(rc);
}

}  // namespace quenlit::cli

// The code-page choice shared by both platforms' codecs.
#include "text/Encoding.h"

namespace quenlit {

namespace {
unsigned g_override = 0;
}

void setDefaultAnsiCodePage(unsigned codePage) { g_override = codePage; }

unsigned ansiCodePage() { return g_override ? g_override : systemAnsiCodePage(); }

}  // namespace quenlit

// The window caption chosen at start-up from "TargetCAD_APIVersion.txt": the
// name of the target CAD program whose identifier is `ProgID`.
#pragma once

#include <filesystem>
#include <optional>

#include "text/Text.h"

namespace quenlit {

inline constexpr TextView kAppTitle = u"QuenlitX";
inline constexpr TextView kInitialCaption = u"Quenlit";
inline constexpr TextView kTargetListFileName = u"TargetCAD_APIVersion.txt";

// The first line holding a TAB immediately followed by `progId` (case-sensitive,
// anywhere in the line) gives "QuenlitX [ " + the text before that TAB + " ]".
std::optional<Text> startupCaption(const TextList& targetLines, TextView progId);

// The same for the file; nothing when it is missing, unreadable or has no such line.
std::optional<Text> startupCaptionFromFile(const std::filesystem::path& path, TextView progId);

}  // namespace quenlit

#include "checks/ExclusionList.h"

#include <algorithm>
#include <unordered_set>

#include "text/TextFile.h"

namespace quenlit {

namespace {

constexpr TextView kBuiltinText =
    u"T,nil,*error*,PI,pause,vlax-vbEmpty,vlax-vbNull,vlax-vbVariant,vlax-vbInteger,vlax-vbLong,"
    u"vlax-vbSingle,vlax-vbDouble,vlax-vbString,vlax-vbObject,vlax-vbBoolean,vlax-vbArray,:vlax-false,"
    u":vlax-true,acSelectionSetWindow,acSelectionSetCrossing,acSelectionSetPrevious,acSelectionSetLast,"
    u"acSelectionSetAll,acAlignmentLeft,acAlignmentCenter,acAlignmentRight,acAlignmentAligned,"
    u"acAlignmentMiddle,acAlignmentFit,acAlignmentTopLeft,acAlignmentTopCenter,acAlignmentTopRight,"
    u"acAlignmentMiddleLeft,acAlignmentMiddleCenter,acAlignmentMiddleRight,acAlignmentBottomLeft,"
    u"acAlignmentBottomCenter,acAlignmentBottomRight,acActiveViewport,acAllViewports,acExtendNone,"
    u"acExtendThisEntity,acExtendOtherEntity,acExtendBoth,acInches,acMillimeters,acPixels,ac0degrees,"
    u"ac90degrees,ac180degrees,ac270degrees,acDisplay,acExtents,acLimits,acView,acWindow,acLayout";

}  // namespace

TextList builtinJogaiWords() { return splitCommaText(kBuiltinText); }

bool jogaiContains(const TextList& jogaiSL, TextView word) {
  auto it = std::lower_bound(jogaiSL.begin(), jogaiSL.end(), word,
                             [](const Text& entry, TextView w) { return listLess(entry, w); });
  return it != jogaiSL.end() && listEqual(*it, word);
}

TextList mergeJogaiLines(TextList list, const TextList& userLines) {
  std::unordered_set<Text> present;
  for (const auto& w : list) present.insert(trim(toUpperAscii(w)));
  for (const auto& line : userLines) {
    Text key = trim(toUpperAscii(line));
    if (key.empty() || present.count(key)) continue;
    present.insert(std::move(key));
    list.push_back(trim(line));  // a line with a blank inside stays one entry
  }
  sortList(list);
  return list;
}

JogaiLoad loadJogaiListFile(const std::filesystem::path& file) {
  JogaiLoad result;
  auto content = readTextFile(file, result.error);
  result.list = mergeJogaiLines(builtinJogaiWords(), content ? content->lines : TextList{});
  return result;
}

JogaiLoad loadJogaiList(const std::filesystem::path& exeDir) { return loadJogaiListFile(exeDir / kJogaiFileName); }

}  // namespace quenlit

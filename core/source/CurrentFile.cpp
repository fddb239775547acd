#include "source/CurrentFile.h"

namespace quenlit {

LoadOutcome CurrentFile::read(TextView path, const std::function<void()>& processMessages) {
  LoadOutcome outcome = loadLspFile(pathFromText(path), source_, processMessages);
  view_.setEncodingLabel(outcome.label);
  return outcome;
}

void CurrentFile::rename(TextView fullName) {
  fullName_ = Text(fullName);
  fileName_ = fileNamePart(fullName_);
  view_.setFileNameText(fileName_);
}

}  // namespace quenlit

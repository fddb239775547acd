// Automation over ole32/oleaut32: the running object of a programmatic
// identifier and late-bound member calls through IDispatch. Every failure is an
// empty result.
#pragma once

#include "bridge/Automation.h"

namespace quenlit::win {

class ComAutomation final : public Automation {
 public:
  std::unique_ptr<AutomationObject> activeObject(TextView progId) override;
};

}  // namespace quenlit::win

// Late-bound automation of another program's objects, as the CAD bridge needs
// it: the running object of a programmatic identifier, property reads and a
// method call with one text argument, all by member name. Every failure comes
// back as an empty result; nothing throws across this interface. The Windows
// program implements it over ole32/oleaut32, the tests with a recording fake.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "text/Text.h"

namespace quenlit {

class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  // A member read as a method-or-property-get without arguments.
  virtual std::optional<std::int64_t> getInteger(TextView member) = 0;
  virtual std::unique_ptr<AutomationObject> getObject(TextView member) = 0;
  // A method called with one text argument; false when the call failed.
  virtual bool call(TextView method, TextView argument) = 0;
};

class Automation {
 public:
  virtual ~Automation() = default;
  // The running object registered for `progId`; null when there is none.
  virtual std::unique_ptr<AutomationObject> activeObject(TextView progId) = 0;
};

}  // namespace quenlit

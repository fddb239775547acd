// Automation objects made up for the tests: a running CAD application per
// identifier whose members can be taken away or made to fail. Every read and
// call is recorded in a log shared with the fake desktop, so the order of
// automation calls and window actions can be checked in one list.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "bridge/Automation.h"

namespace quenlit::test {

struct FakeCadApp {
  std::int64_t hwnd = 0;                // what HWND reads
  std::set<std::string> missing;        // members it lacks
  bool sendFails = false;               // SendCommand reports a failure
};

class FakeAutomation final : public Automation {
 public:
  explicit FakeAutomation(std::vector<std::string>& log) : log_(log) {}

  std::unique_ptr<AutomationObject> activeObject(TextView progId) override {
    log_.push_back("active " + toUtf8(progId));
    auto it = apps.find(toUtf8(progId));
    if (it == apps.end()) return nullptr;
    return std::make_unique<Object>(it->second, log_, false);
  }

  std::map<std::string, FakeCadApp> apps;  // by identifier

 private:
  class Object final : public AutomationObject {
   public:
    Object(const FakeCadApp& app, std::vector<std::string>& log, bool document)
        : app_(app), log_(log), document_(document) {}
    std::optional<std::int64_t> getInteger(TextView member) override {
      log_.push_back("get " + toUtf8(member));
      if (document_ || member != u"HWND" || lacks(member)) return std::nullopt;
      return app_.hwnd;
    }
    std::unique_ptr<AutomationObject> getObject(TextView member) override {
      log_.push_back("get " + toUtf8(member));
      if (document_ || member != u"ActiveDocument" || lacks(member)) return nullptr;
      return std::make_unique<Object>(app_, log_, true);
    }
    bool call(TextView method, TextView argument) override {
      std::string shown = toUtf8(argument);
      for (size_t at; (at = shown.find('\r')) != std::string::npos;) shown.replace(at, 1, "<CR>");
      log_.push_back("call " + toUtf8(method) + " " + shown);
      return document_ && method == u"SendCommand" && !lacks(method) && !app_.sendFails;
    }

   private:
    bool lacks(TextView member) const { return app_.missing.count(toUtf8(member)) > 0; }
    const FakeCadApp& app_;
    std::vector<std::string>& log_;
    bool document_;
  };

  std::vector<std::string>& log_;
};

}  // namespace quenlit::test

#include "LintOutput.h"

#include <map>

#include "JsonOutput.h"
#include "QuenlitVersion.h"

namespace quenlit::cli {

namespace {

using lint::LintFinding;

std::string severityOf(const LintFinding& f) { return lint::lintSeverityName(lint::lintRuleInfo(f.rule).severity); }
const char* idOf(const LintFinding& f) { return lint::lintRuleInfo(f.rule).id; }

Json rangeJson(const lint::Range& r) {
  return {{"line", r.line}, {"column", r.column}, {"endLine", r.endLine}, {"endColumn", r.endColumn}};
}

}  // namespace

void writeLintText(std::ostream& out, const std::vector<CheckedFile>& files, lint::LintLang lang) {
  size_t unread = 0, n = 0, withFindings = 0;
  for (const auto& file : files) {
    unread += file.read ? 0 : 1;
    if (file.lint.findings.empty()) continue;
    n += file.lint.findings.size();
    ++withFindings;
    out << file.display << '\n';
    for (const LintFinding& f : file.lint.findings) {
      std::string at = std::to_string(f.range.line) + ":" + std::to_string(f.range.column);
      if (at.size() < 9) at.insert(0, 9 - at.size(), ' ');
      std::string sev = severityOf(f);
      sev.resize(7, ' ');
      out << at << "  " << sev << "  " << toUtf8(f.message) << "  [" << idOf(f) << "]\n";
    }
  }
  const size_t checked = files.size() - unread;
  writeSummary(out, lang == lint::LintLang::kJapanese, n, withFindings, checked, unread);
}

void writeLintGcc(std::ostream& out, const std::vector<CheckedFile>& files) {
  for (const auto& file : files)
    for (const LintFinding& f : file.lint.findings)
      out << file.display << ':' << f.range.line << ':' << f.range.column << ": " << severityOf(f) << ": "
          << toUtf8(f.message) << " [" << idOf(f) << "]\n";
}

void writeLintJson(std::ostream& out, const std::vector<CheckedFile>& files) {
  Json all = Json::array();
  for (const auto& file : files)
    for (const LintFinding& f : file.lint.findings) {
      Json j = {{"file", file.display}};
      j.update(rangeJson(f.range));
      j["rule"] = idOf(f);
      j["severity"] = severityOf(f);
      j["symbol"] = toUtf8(f.symbol);
      j["message"] = toUtf8(f.message);
      Json related = Json::array();
      for (const auto& r : f.related) {
        Json rj = {{"file", r.file.empty() ? file.display : r.file}};
        rj.update(rangeJson(r.range));
        rj["message"] = toUtf8(r.message);
        related.push_back(rj);
      }
      j["related"] = related;
      all.push_back(j);
    }
  dumpJson(out, all);
}

void writeLintSarif(std::ostream& out, const std::vector<CheckedFile>& files, const std::vector<std::string>& problems,
                    bool successful) {
  Json rules = Json::array();
  for (const auto& r : lint::lintRules())
    rules.push_back({{"id", r.id},
                     {"shortDescription", {{"text", r.description}}},
                     {"defaultConfiguration", {{"level", lint::lintSeverityName(r.severity)}}}});
  std::map<std::string, std::string> uriOf;  // display name -> uri, for related places in other files
  for (const auto& file : files) uriOf[file.display] = file.uri;
  auto location = [&](const std::string& uri, const lint::Range& r) {
    Json artifact = {{"uri", uri}};
    if (uri.rfind("file:", 0) != 0) artifact["uriBaseId"] = "%SRCROOT%";
    return Json{{"physicalLocation",
                 {{"artifactLocation", artifact},
                  {"region",
                   {{"startLine", r.line}, {"startColumn", r.column}, {"endLine", r.endLine}, {"endColumn", r.endColumn}}}}}};
  };
  Json results = Json::array();
  for (const auto& file : files)
    for (const LintFinding& f : file.lint.findings) {
      Json result = {{"ruleId", idOf(f)},
                     {"ruleIndex", int(f.rule)},
                     {"level", severityOf(f)},
                     {"message", {{"text", toUtf8(f.message)}}},
                     {"locations", Json::array({location(file.uri, f.range)})}};
      if (!f.related.empty()) {
        Json related = Json::array();
        int id = 1;
        for (const auto& r : f.related) {
          const auto it = r.file.empty() ? uriOf.end() : uriOf.find(r.file);
          Json loc = location(it == uriOf.end() ? file.uri : it->second, r.range);
          loc["id"] = id++;
          loc["message"] = {{"text", toUtf8(r.message)}};
          related.push_back(loc);
        }
        result["relatedLocations"] = related;
      }
      results.push_back(result);
    }
  writeSarifLog(out, std::move(rules), std::move(results), problems, successful);
}

bool lintFailed(const std::vector<CheckedFile>& files) {
  for (const auto& file : files)
    for (const LintFinding& f : file.lint.findings)
      if (lint::lintRuleInfo(f.rule).severity != lint::LintSeverity::kNote) return true;
  return false;
}

}  // namespace quenlit::cli

#include "CheckOutput.h"

#include "FileWalk.h"
#include "JsonOutput.h"
#include "QuenlitVersion.h"

namespace quenlit::cli {

namespace {

std::string severityOf(const Finding& f) { return severityName(ruleInfo(f.rule).severity); }

size_t countFindings(const std::vector<CheckedFile>& files, size_t& withFindings) {
  size_t n = 0;
  withFindings = 0;
  for (const auto& f : files) {
    n += f.result.findings.size();
    withFindings += f.result.findings.empty() ? 0 : 1;
  }
  return n;
}

}  // namespace

// Names in the text come from the files and may hold anything; invalid UTF-8
// (a file name in another encoding) becomes U+FFFD instead of failing the dump.
void dumpJson(std::ostream& out, const Json& j) {
  out << j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

void writeSarifLog(std::ostream& out, Json rules, Json results, const std::vector<std::string>& problems,
                   bool successful) {
  Json notifications = Json::array();
  for (const auto& p : problems) notifications.push_back({{"level", "error"}, {"message", {{"text", p}}}});
  Json invocation = {{"executionSuccessful", successful}};
  if (!notifications.empty()) invocation["toolExecutionNotifications"] = notifications;
  Json sarif = {
      {"$schema", "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json"},
      {"version", "2.1.0"},
      {"runs", Json::array({{{"tool", {{"driver", {{"name", "quenlit"}, {"version", QUENLIT_VERSION}, {"rules", std::move(rules)}}}}},
                             {"invocations", Json::array({invocation})},
                             {"columnKind", "utf16CodeUnits"},
                             {"results", std::move(results)}}})}};
  dumpJson(out, sarif);
}

void writeText(std::ostream& out, const std::vector<CheckedFile>& files, Lang lang) {
  size_t unread = 0;
  for (const auto& file : files) {
    unread += file.read ? 0 : 1;
    if (file.result.findings.empty()) continue;
    out << file.display << '\n';
    for (const Finding& f : file.result.findings) {
      std::string at = std::to_string(f.line);
      if (f.column > 0) at += ":" + std::to_string(f.column);
      if (at.size() < 9) at.insert(0, 9 - at.size(), ' ');
      std::string sev = severityOf(f);
      sev.resize(7, ' ');
      out << at << "  " << sev << "  " << toUtf8(f.message) << "  [" << ruleInfo(f.rule).id << "]\n";
    }
  }
  size_t withFindings = 0;
  const size_t n = countFindings(files, withFindings);
  const size_t checked = files.size() - unread;
  writeSummary(out, lang == Lang::kJapanese, n, withFindings, checked, unread);
}

void writeSummary(std::ostream& out, bool japanese, size_t n, size_t withFindings, size_t checked, size_t unread) {
  if (japanese) {
    out << "指摘 " << n << " 件 (" << withFindings << " ファイル), 検査 " << checked << " ファイル";
    if (unread) out << ", 読めないファイル " << unread;
  } else {
    out << n << (n == 1 ? " finding" : " findings") << " in " << withFindings << (withFindings == 1 ? " file" : " files")
        << ", " << checked << (checked == 1 ? " file" : " files") << " checked";
    if (unread) out << ", " << unread << (unread == 1 ? " file" : " files") << " not read";
  }
  out << '\n';
}

void writeGcc(std::ostream& out, const std::vector<CheckedFile>& files) {
  for (const auto& file : files)
    for (const Finding& f : file.result.findings) {
      out << file.display << ':' << f.line << ':';
      if (f.column > 0) out << f.column << ':';
      out << ' ' << severityOf(f) << ": " << toUtf8(f.message) << " [" << ruleInfo(f.rule).id << "]\n";
    }
}

void writeJson(std::ostream& out, const std::vector<CheckedFile>& files) {
  Json all = Json::array();
  for (const auto& file : files)
    for (const Finding& f : file.result.findings)
      all.push_back({{"file", file.display},
                     {"line", f.line},
                     {"column", f.column > 0 ? Json(f.column) : Json(nullptr)},
                     {"rule", ruleInfo(f.rule).id},
                     {"severity", severityOf(f)},
                     {"message", toUtf8(f.message)}});
  dumpJson(out, all);
}

void writeSarif(std::ostream& out, const std::vector<CheckedFile>& files, const std::vector<std::string>& problems,
                bool successful) {
  Json rules = Json::array();
  for (const RuleInfo& r : checkRules())
    rules.push_back({{"id", r.id},
                     {"shortDescription", {{"text", r.description}}},
                     {"defaultConfiguration", {{"level", severityName(r.severity)}}}});
  Json results = Json::array();
  for (const auto& file : files)
    for (const Finding& f : file.result.findings) {
      Json region = {{"startLine", f.line}};
      if (f.column > 0) region["startColumn"] = f.column;
      Json location = {{"uri", file.uri}};
      if (file.uri.rfind("file:", 0) != 0) location["uriBaseId"] = "%SRCROOT%";
      results.push_back({{"ruleId", ruleInfo(f.rule).id},
                         {"ruleIndex", int(f.rule)},
                         {"level", severityOf(f)},
                         {"message", {{"text", toUtf8(f.message)}}},
                         {"locations", Json::array({{{"physicalLocation",
                                                      {{"artifactLocation", location}, {"region", region}}}}})}});
    }
  writeSarifLog(out, std::move(rules), std::move(results), problems, successful);
}

std::string fileUri(const std::filesystem::path& path, const std::filesystem::path& base) {
  std::error_code ec;
  std::filesystem::path abs = std::filesystem::absolute(path, ec).lexically_normal();
  if (ec) abs = path;
  std::string text;
  bool relative = false;
  if (!base.empty()) {
    const std::filesystem::path rel = abs.lexically_relative(base);
    const std::string r = displayPath(rel);
    if (!rel.empty() && r != "." && r.rfind("..", 0) != 0) {
      text = r;
      relative = true;
    }
  }
  if (!relative) {
    text = displayPath(abs);
    if (!text.empty() && text[0] != '/') text.insert(0, "/");  // C:/x becomes /C:/x
  }
  static const char* kHex = "0123456789ABCDEF";
  std::string uri = relative ? "" : "file://";
  for (unsigned char c : text) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '.' || c == '_' || c == '~' || c == '/' || (c == ':' && !relative);
    if (keep) {
      uri += char(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

}  // namespace quenlit::cli

#include "Workspace.h"

#include <algorithm>

#include "checks/ExclusionList.h"
#include "source/SourceFile.h"
#include "text/TextFile.h"

namespace quenlit::lsp {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecode(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      const int hi = hexValue(s[i + 1]), lo = hexValue(s[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += char(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

std::filesystem::path pathFromUtf8(const std::string& s) {
  return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

std::string utf8Of(const std::filesystem::path& p) {
  const std::u8string u = p.generic_u8string();
  return std::string(u.begin(), u.end());
}

bool isLspName(const std::filesystem::path& p) {
  const std::string ext = utf8Of(p.extension());
  return ext.size() == 4 && ext[0] == '.' && (ext[1] | 0x20) == 'l' && (ext[2] | 0x20) == 's' && (ext[3] | 0x20) == 'p';
}

// UTF-8 bytes of the first `units` UTF-16 code units of a line.
uint32_t utf8Length(TextView line, uint32_t units) {
  uint32_t bytes = 0;
  for (uint32_t i = 0; i < units && i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c < 0x80) bytes += 1;
    else if (c < 0x800) bytes += 2;
    else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < line.size() && line[i + 1] >= 0xDC00 && line[i + 1] <= 0xDFFF) {
      bytes += 4;
      ++i;
    } else bytes += 3;
  }
  return bytes;
}

}  // namespace

std::optional<std::filesystem::path> uriToPath(const std::string& uri) {
  if (uri.size() < 7 || uri.compare(0, 7, "file://") != 0) return std::nullopt;
  std::string rest = uri.substr(7);
  const size_t slash = rest.find('/');
  if (slash == std::string::npos) return std::nullopt;
  const std::string host = rest.substr(0, slash);
  std::string path = percentDecode(rest.substr(slash));
#ifdef _WIN32
  // file:///c:/x -> c:/x; file://server/share/x -> //server/share/x
  if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
  if (!host.empty() && host != "localhost") path = "//" + host + path;
#else
  if (!host.empty() && host != "localhost") return std::nullopt;
#endif
  return pathFromUtf8(path);
}

std::string pathToUri(const std::filesystem::path& path) {
  std::string p = utf8Of(path);
  if (p.size() >= 2 && p[1] == ':') p.insert(0, "/");
  std::string out = "file://";
  static const char* hex = "0123456789ABCDEF";
  for (unsigned char c : p) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                       c == '.' || c == '_' || c == '~' || c == '/' || c == ':';
    if (plain) out += char(c);
    else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string documentKey(const std::string& uri) {
  const auto path = uriToPath(uri);
  if (!path) return uri;
  std::string key = utf8Of(path->lexically_normal());
#ifdef _WIN32
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
#endif
  return key;
}

TextList splitDocument(TextView text) {
  TextList lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' || text[i] == u'\r') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

Workspace::Workspace(std::filesystem::path exeDir)
    : exeDir_(std::move(exeDir)), options_{jogai_, builtins_, globals_, lint::LintLang::kEnglish} {
  configure(Settings{});
}

std::string Workspace::configure(Settings settings) {
  settings_ = std::move(settings);
  std::string problem;
  JogaiLoad jogai = settings_.exclusionFile.empty() ? loadJogaiList(exeDir_)
                                                    : loadJogaiListFile(pathFromUtf8(settings_.exclusionFile));
  if (!jogai.error.reason.empty()) problem = "exclusion words: " + jogai.error.reason;
  jogai_ = std::move(jogai.list);
  builtins_ = loadBuiltinList(exeDir_).list;
  builtinNames_.clear();
  FileError error;
  if (auto list = readTextFile(exeDir_ / kBuiltinListFileName, error))
    for (const Text& line : list->lines)
      if (Text name = line.substr(0, line.find(u'\t')); !name.empty()) builtinNames_.push_back(std::move(name));
  globals_ = lint::GlobalNames(settings_.globals);
  helpBase_ = settings_.helpBase;
  if (std::error_code ec; helpBase_.empty() && std::filesystem::exists(exeDir_ / "README.md", ec))
    helpBase_ = pathToUri(exeDir_ / "README.md");
  hrefJson_.clear();
  for (const auto& rule : lint::lintRules())
    hrefJson_.push_back(helpBase_.empty() ? std::string()
                                          : R"(,"codeDescription":{"href":)" + Json(ruleHref(rule.id)).dump() + "}");
  options_.lang = settings_.lang;
  for (auto& [key, doc] : docs_) markChanged(doc);
  return problem;
}

void Workspace::markChanged(Document& doc) {
  doc.current = false;
  dirty_ = true;
}

size_t Workspace::addFolder(const std::filesystem::path& folder, std::ostream& log) {
  namespace fs = std::filesystem;
  std::error_code ec;
  size_t n = 0;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
  if (ec) {
    log << "quenlit lsp: cannot read the folder " << utf8Of(folder) << ": " << ec.message() << "\n";
    return 0;
  }
  for (; it != end; it.increment(ec)) {
    if (ec) break;
    const fs::path& p = it->path();
    if (!isLspName(p) || !it->is_regular_file(ec)) continue;
    const std::string uri = pathToUri(fs::absolute(p, ec));
    const std::string key = documentKey(uri);
    if (docs_.count(key)) continue;
    SourceLines src;
    if (!loadLspFile(p, src).ok) {
      log << "quenlit lsp: cannot read " << utf8Of(p) << "\n";
      continue;
    }
    Document& doc = docs_[key];
    doc.key = key;
    doc.uri = uri;
    doc.path = p;
    doc.written = std::filesystem::last_write_time(p, ec);
    doc.lines = std::move(src.lines);
    if (doc.lines.empty()) doc.lines.emplace_back();
    markChanged(doc);
    ++n;
  }
  return n;
}

Document* Workspace::find(const std::string& uri) {
  auto it = docs_.find(documentKey(uri));
  return it == docs_.end() ? nullptr : &it->second;
}

Document* Workspace::byName(const std::string& key) {
  auto it = docs_.find(key);
  return it == docs_.end() ? nullptr : &it->second;
}

void Workspace::open(const std::string& uri, const Text& text, std::optional<int64_t> version) {
  const std::string key = documentKey(uri);
  Document& doc = docs_[key];
  doc.key = key;
  doc.uri = uri;
  if (auto p = uriToPath(uri)) doc.path = *p;
  doc.lines = splitDocument(text);
  doc.version = version;
  doc.open = true;
  doc.outOfSync = false;
  doc.published.clear();  // an editor that reopens a file has dropped what it was shown
  doc.publishedVersion.reset();
  markChanged(doc);
}

Pos Workspace::clamp(const Document& doc, const Json& position) const {
  Pos p;
  const int64_t line = position.value("line", int64_t(0));
  const int64_t character = position.value("character", int64_t(0));
  if (line < 0) return p;
  if (size_t(line) >= doc.lines.size()) {
    p.line = uint32_t(doc.lines.size() - 1);
    p.column = uint32_t(doc.lines.back().size());
    return p;
  }
  p.line = uint32_t(line);
  const Text& l = doc.lines[p.line];
  if (character <= 0) return p;
  if (!utf8) {
    p.column = uint32_t(std::min<int64_t>(character, int64_t(l.size())));
    // Inside a surrogate pair: before the pair.
    if (p.column > 0 && p.column < l.size() && l[p.column] >= 0xDC00 && l[p.column] <= 0xDFFF &&
        l[p.column - 1] >= 0xD800 && l[p.column - 1] <= 0xDBFF)
      --p.column;
    return p;
  }
  uint32_t units = 0;
  int64_t bytes = 0;
  while (units < l.size()) {
    const bool pair = l[units] >= 0xD800 && l[units] <= 0xDBFF && units + 1 < l.size() && l[units + 1] >= 0xDC00 &&
                      l[units + 1] <= 0xDFFF;
    const uint32_t width = pair ? 2 : 1;
    const int64_t size = utf8Length(TextView(l).substr(units, width), width);
    if (bytes + size > character) break;
    bytes += size;
    units += width;
  }
  p.column = units;
  return p;
}

bool Workspace::change(const std::string& uri, std::optional<int64_t> version, const Json& changes,
                       std::string& problem) {
  Document* doc = find(uri);
  if (!doc || !doc->open) {
    problem = "a change of a document that is not open: " + uri;
    return false;
  }
  if (!changes.is_array()) {
    problem = "contentChanges is no array";
    return false;
  }
  bool ok = true;
  for (const Json& c : changes) {
    if (!c.is_object() || !c.contains("text") || !c["text"].is_string()) continue;
    const Text text = fromUtf8Lenient(c["text"].get<std::string>());
    if (!c.contains("range")) {
      doc->lines = splitDocument(text);
      doc->outOfSync = false;
      continue;
    }
    if (doc->outOfSync) continue;
    const Json& r = c["range"];
    if (!r.is_object() || !r.contains("start") || !r.contains("end") || !r["start"].is_object() ||
        !r["end"].is_object()) {
      problem = "a change without a usable range";
      doc->outOfSync = true;
      ok = false;
      continue;
    }
    const int64_t lastLine = int64_t(doc->lines.size()) - 1;
    const int64_t startLine = r["start"].value("line", int64_t(-1)), endLine = r["end"].value("line", int64_t(-1));
    // A line past the end (other than the position just after the last line) means the
    // editor and the server disagree about the text: applying it would corrupt it.
    auto outside = [&](int64_t line, const Json& pos) {
      return line < 0 || line > lastLine + 1 || (line == lastLine + 1 && pos.value("character", int64_t(0)) != 0);
    };
    if (outside(startLine, r["start"]) || outside(endLine, r["end"])) {
      problem = "a change range outside the document " + uri + "; waiting for its full text";
      doc->outOfSync = true;
      ok = false;
      continue;
    }
    Pos from = clamp(*doc, r["start"]), to = clamp(*doc, r["end"]);
    if (to.line < from.line || (to.line == from.line && to.column < from.column)) std::swap(from, to);
    Text joined = doc->lines[from.line].substr(0, from.column) + text + doc->lines[to.line].substr(to.column);
    TextList middle = splitDocument(joined);
    doc->lines.erase(doc->lines.begin() + from.line, doc->lines.begin() + to.line + 1);
    doc->lines.insert(doc->lines.begin() + from.line, std::make_move_iterator(middle.begin()),
                      std::make_move_iterator(middle.end()));
  }
  doc->version = version;
  markChanged(*doc);
  return ok;
}

void Workspace::close(const std::string& uri) {
  Document* doc = find(uri);
  if (!doc) return;
  doc->open = false;
  doc->version.reset();
  doc->outOfSync = false;
  if (doc->path.empty()) {
    docs_.erase(documentKey(uri));
    dirty_ = true;
    return;
  }
  reloadFromDisk(uri);
}

void Workspace::saved(const std::string& uri, const Json& text) {
  Document* doc = find(uri);
  if (!doc) return;
  if (text.is_string() && doc->open) {
    doc->lines = splitDocument(fromUtf8Lenient(text.get<std::string>()));
    doc->outOfSync = false;
    markChanged(*doc);
  } else if (!doc->open) {
    reloadFromDisk(uri);
  }
}

void Workspace::reloadFromDisk(const std::string& uri) {
  const std::string key = documentKey(uri);
  auto it = docs_.find(key);
  if (it != docs_.end() && it->second.open) return;
  const auto path = uriToPath(uri);
  SourceLines src;
  if (!path || !isLspName(*path) || !loadLspFile(*path, src).ok) {
    if (it != docs_.end()) forget(uri);
    return;
  }
  Document& doc = docs_[key];
  doc.key = key;
  if (doc.uri.empty()) doc.uri = uri;
  doc.path = *path;
  std::error_code ec;
  doc.written = std::filesystem::last_write_time(*path, ec);
  doc.lines = std::move(src.lines);
  if (doc.lines.empty()) doc.lines.emplace_back();
  markChanged(doc);
}

void Workspace::refreshFromDisk() {
  std::vector<std::string> changed, gone;
  for (auto& [key, doc] : docs_) {
    if (doc.open || doc.path.empty()) continue;
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(doc.path, ec);
    if (ec) gone.push_back(doc.uri);
    else if (written != doc.written) changed.push_back(doc.uri);
  }
  for (const auto& uri : changed) reloadFromDisk(uri);
  for (const auto& uri : gone) forget(uri);
}

void Workspace::forget(const std::string& uri) {
  auto it = docs_.find(documentKey(uri));
  if (it == docs_.end() || it->second.open) return;
  // Its findings go from the editor too; an empty list is sent by the next check.
  it->second.lines.assign(1, Text());
  it->second.path.clear();
  markChanged(it->second);
}

const lint::FileLint& Workspace::facts(Document& doc) {
  if (!doc.current) {
    doc.facts = lint::lintLines(doc.lines, options_);
    doc.facts.name = doc.key;
    doc.current = true;
  }
  return doc.facts;
}

Json Workspace::position(const Document& doc, uint32_t line, uint32_t column) const {
  uint32_t character = column;
  if (utf8 && line < doc.lines.size()) character = utf8Length(doc.lines[line], column);
  return {{"line", line}, {"character", character}};
}

Json Workspace::range(const Document& doc, const syntax::Range& r) const {
  return {{"start", position(doc, uint32_t(r.line - 1), uint32_t(r.column - 1))},
          {"end", position(doc, uint32_t(r.endLine - 1), uint32_t(r.endColumn - 1))}};
}

Json Workspace::range(const Document& doc, const syntax::Token& from, const syntax::Token& to) const {
  return {{"start", position(doc, from.line, from.column)}, {"end", position(doc, to.endLine(), to.endColumn)}};
}

std::string Workspace::ruleHref(const char* id) const { return helpBase_.empty() ? std::string() : helpBase_ + "#" + id; }

void Workspace::appendRange(std::string& out, const Document& doc, const syntax::Range& r) const {
  auto column = [&](int line, int col) {
    const uint32_t l = uint32_t(line - 1), c = uint32_t(col - 1);
    return utf8 && l < doc.lines.size() ? utf8Length(doc.lines[l], c) : c;
  };
  out += R"({"start":{"line":)" + std::to_string(r.line - 1) + R"(,"character":)" +
         std::to_string(column(r.line, r.column)) + R"(},"end":{"line":)" + std::to_string(r.endLine - 1) +
         R"(,"character":)" + std::to_string(column(r.endLine, r.endColumn)) + "}}";
}

// Written as text rather than built as a Json tree: a file with thousands of
// findings is published after every keystroke, and the tree took ten times longer.
// nlohmann/json still escapes every string.
std::string Workspace::diagnostics(const Document& doc, const lint::FileLint& result) {
  auto quoted = [](const std::string& s) { return Json(s).dump(-1, ' ', false, Json::error_handler_t::replace); };
  // Messages repeat from one check to the next: escaped once each.
  auto message = [&](const Text& m) -> const std::string& {
    auto it = escaped_.find(m);
    if (it == escaped_.end()) {
      if (escaped_.size() > 200000) escaped_.clear();
      it = escaped_.emplace(m, quoted(toUtf8(m))).first;
    }
    return it->second;
  };
  std::string out = "[";
  for (const lint::LintFinding& f : result.findings) {
    const lint::LintRuleInfo& info = lint::lintRuleInfo(f.rule);
    if (settings_.ignore.count(info.id)) continue;
    const int severity = info.severity == lint::LintSeverity::kError     ? 1
                         : info.severity == lint::LintSeverity::kWarning ? 2
                                                                         : 3;
    if (out.size() > 1) out += ',';
    out += R"({"range":)";
    appendRange(out, doc, f.range);
    out += R"(,"severity":)" + std::to_string(severity) + R"(,"code":")" + info.id + R"(","source":"quenlit","message":)" +
           message(f.message);
    out += hrefJson_[size_t(f.rule)];
    if (!f.related.empty()) {
      out += R"(,"relatedInformation":[)";
      bool first = true;
      for (const lint::Related& r : f.related) {
        const Document* other = r.file.empty() ? &doc : byName(r.file);
        if (!other) continue;
        if (!first) out += ',';
        first = false;
        out += R"({"location":{"uri":)" + quoted(other->uri) + R"(,"range":)";
        appendRange(out, *other, r.range);
        out += R"(},"message":)" + message(r.message) + "}";
      }
      out += "]";
    }
    out += "}";
  }
  return out + "]";
}

std::vector<std::string> Workspace::recheck(const std::function<bool()>& stale) {
  std::vector<Document*> all;
  for (auto& [key, doc] : docs_) {
    facts(doc);
    all.push_back(&doc);
  }
  std::vector<lint::FileLint> results;
  results.reserve(all.size());
  for (Document* d : all) results.push_back(d->facts);
  if (settings_.acrossFiles) {
    lint::lintFinish(results, options_);
  } else {
    for (auto& r : results) lint::lintFinish(std::span(&r, 1), options_);
  }
  std::vector<std::string> out;
  if (stale && stale()) return out;  // still dirty: checked again once the news is read
  dirty_ = false;
  for (size_t i = 0; i < all.size(); ++i) {
    Document& doc = *all[i];
    std::string text = diagnostics(doc, results[i]);
    doc.findings = std::move(results[i].findings);
    const bool newVersion = doc.open && doc.version != doc.publishedVersion;
    if (text == doc.published && !newVersion) continue;
    doc.publishedVersion = doc.open ? doc.version : std::nullopt;
    std::string params = R"({"uri":)" + Json(doc.uri).dump(-1, ' ', false, Json::error_handler_t::replace);
    if (doc.open && doc.version) params += R"(,"version":)" + std::to_string(*doc.version);
    params += R"(,"diagnostics":)" + text + "}";
    doc.published = std::move(text);
    out.push_back(std::move(params));
  }
  return out;
}

}  // namespace quenlit::lsp

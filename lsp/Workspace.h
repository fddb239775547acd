// The documents the server knows: open ones as the editor holds them, the rest of
// the workspace folders' *.lsp files as the disk holds them, and the findings of
// the scoped rules over all of them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <unordered_map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "checks/BuiltinList.h"
#include "checks/lint/Lint.h"
#include "syntax/Syntax.h"
#include "text/Text.h"

namespace quenlit::lsp {

using Json = nlohmann::json;

struct Settings {
  bool acrossFiles = true;
  TextList globals;                 // intentional global names and *-patterns
  std::set<std::string> ignore;     // rule ids not reported
  std::string exclusionFile;        // UTF-8 path; empty: jogaiList.txt beside the program
  std::string helpBase;             // where the rule anchors are; empty: the README beside the program
  lint::LintLang lang = lint::LintLang::kEnglish;
};

struct Document {
  std::string key;  // in the workspace's map; the FileLint name of its facts
  std::string uri;  // as the client names it (or made from the path for files on disk)
  std::filesystem::path path;  // empty for documents that are no file
  std::filesystem::file_time_type written{};  // of the file when it was read
  TextList lines;
  std::optional<int64_t> version;
  bool open = false;
  bool outOfSync = false;  // an edit could not be applied: wait for a full text
  lint::FileLint facts;    // this file's own facts, before the rules over all files
  bool current = false;    // facts are those of `lines`
  std::string published;   // the last diagnostics sent, to send only changes
  std::optional<int64_t> publishedVersion;  // an open document hears of every version
  std::vector<lint::LintFinding> findings;  // of the last check over all files
  std::vector<uint32_t> semantic;           // the semantic tokens last sent, for deltas
  std::string semanticId;
};

// A position inside a document: 0-based line, UTF-16 code units.
struct Pos {
  uint32_t line = 0, column = 0;
};

class Workspace {
 public:
  explicit Workspace(std::filesystem::path exeDir);

  bool utf8 = false;  // the client counts characters in UTF-8 bytes
  const Settings& settings() const { return settings_; }
  // New settings; the lists are read again and every file re-checked. Problems
  // (an unreadable exclusion file) are returned for the log.
  std::string configure(Settings settings);

  // Reads every *.lsp below `folder`; returns how many files were read.
  size_t addFolder(const std::filesystem::path& folder, std::ostream& log);

  Document* find(const std::string& uri);
  void open(const std::string& uri, const Text& text, std::optional<int64_t> version);
  // Applies didChange's content changes; false (with the reason) when a range fell
  // outside the document, which then waits for the next full text.
  bool change(const std::string& uri, std::optional<int64_t> version, const Json& changes, std::string& problem);
  void close(const std::string& uri);
  void saved(const std::string& uri, const Json& text);
  void reloadFromDisk(const std::string& uri);  // unless open
  void forget(const std::string& uri);          // deleted on disk, unless open
  // Files not open that changed on disk since they were read are read again: for
  // clients that do not watch files, this runs on every save.
  void refreshFromDisk();

  bool dirty() const { return dirty_; }
  // Re-checks what changed and returns the publishDiagnostics params (JSON text)
  // that differ from what was sent last. Nothing when `stale` says newer messages wait.
  std::vector<std::string> recheck(const std::function<bool()>& stale);

  // Conversions between the protocol's positions and the documents' own.
  Json position(const Document& doc, uint32_t line, uint32_t column) const;
  Json range(const Document& doc, const syntax::Range& r) const;  // r: 1-based as the rules give it
  Json range(const Document& doc, const syntax::Token& from, const syntax::Token& to) const;
  Pos clamp(const Document& doc, const Json& position) const;  // never outside the text

  const lint::LintOptions& lintOptions() const { return options_; }
  // The built-in names of AutoLispFuncList.txt beside the program, for completion.
  const TextList& builtinNames() const { return builtinNames_; }
  // The file's own facts, read again when its text changed since.
  const lint::FileLint& facts(Document& doc);
  std::map<std::string, Document>& documents() { return docs_; }
  Document* byName(const std::string& key);  // FileLint::name -> document

 private:
  void markChanged(Document& doc);
  std::string diagnostics(const Document& doc, const lint::FileLint& result);
  void appendRange(std::string& out, const Document& doc, const syntax::Range& r) const;
  std::string ruleHref(const char* id) const;

  std::filesystem::path exeDir_;
  Settings settings_;
  TextList jogai_;
  BuiltinList builtins_;
  lint::GlobalNames globals_;
  std::string helpBase_;
  TextList builtinNames_;
  std::unordered_map<Text, std::string> escaped_;
  std::vector<std::string> hrefJson_;  // by rule: the codeDescription member, ready to append  // message -> its JSON string  // the rule ids' anchors are appended to it
  lint::LintOptions options_;
  std::map<std::string, Document> docs_;  // by key: the decoded path, or the URI
  bool dirty_ = false;
};

// file: URIs and paths; keys compare documents whatever the client's percent-encoding.
std::string documentKey(const std::string& uri);
std::optional<std::filesystem::path> uriToPath(const std::string& uri);
std::string pathToUri(const std::filesystem::path& path);

// Lines as the protocol counts them: LF, CR LF and CR break; a final break leaves
// an empty last line.
TextList splitDocument(TextView text);

}  // namespace quenlit::lsp

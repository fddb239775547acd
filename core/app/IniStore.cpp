#include "app/IniStore.h"

#include <cstdint>

namespace quenlit {

namespace {

// The section name of a "[name]" line, or nothing for any other line.
std::optional<Text> sectionName(TextView line) {
  Text t = trim(line);
  if (t.empty() || t[0] != u'[') return std::nullopt;
  auto close = t.find(u']');
  return trim(TextView(t).substr(1, close == Text::npos ? Text::npos : close - 1));
}

struct Entry {
  Text key, value;
};

std::optional<Entry> entryOf(TextView line) {
  Text t = trim(line);
  if (t.empty() || t[0] == u';') return std::nullopt;
  auto eq = t.find(u'=');
  if (eq == Text::npos) return std::nullopt;
  Entry e{trim(TextView(t).substr(0, eq)), trim(TextView(t).substr(eq + 1))};
  if (e.value.size() >= 2 && (e.value.front() == u'"' || e.value.front() == u'\'') &&
      e.value.back() == e.value.front())
    e.value = e.value.substr(1, e.value.size() - 2);
  return e;
}

// [first, end) are the entry lines of the first section called `section`.
struct SectionSpan {
  size_t header = 0, first = 0, end = 0;
};

std::optional<SectionSpan> findSection(const TextList& lines, TextView section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    auto name = sectionName(lines[i]);
    if (!name || !listEqual(*name, section)) continue;
    size_t end = i + 1;
    while (end < lines.size() && !sectionName(lines[end])) ++end;
    return SectionSpan{i, i + 1, end};
  }
  return std::nullopt;
}

}  // namespace

std::optional<Text> IniDocument::read(TextView section, TextView key) const {
  auto span = findSection(lines_, section);
  if (!span) return std::nullopt;
  for (size_t i = span->first; i < span->end; ++i)
    if (auto e = entryOf(lines_[i]); e && listEqual(e->key, key)) return e->value;
  return std::nullopt;
}

void IniDocument::write(TextView section, TextView key, TextView value) {
  Text line = Text(key) + u"=" + Text(value);
  auto span = findSection(lines_, section);
  if (!span) {
    lines_.push_back(u"[" + Text(section) + u"]");
    lines_.push_back(line);
    return;
  }
  size_t lastEntry = span->header;
  for (size_t i = span->first; i < span->end; ++i) {
    auto e = entryOf(lines_[i]);
    if (!e) continue;
    if (listEqual(e->key, key)) {
      lines_[i] = line;
      return;
    }
    lastEntry = i;
  }
  lines_.insert(lines_.begin() + long(lastEntry + 1), line);
}

std::optional<int> parseIniInteger(TextView value) {
  Text t = trim(value);
  if (t.empty()) return std::nullopt;
  if (t.size() > 2 && t[0] == u'0' && (t[1] == u'x' || t[1] == u'X')) {
    if (t.size() > 10) return std::nullopt;
    uint32_t v = 0;
    for (size_t i = 2; i < t.size(); ++i) {
      char16_t c = t[i];
      uint32_t d;
      if (c >= u'0' && c <= u'9') d = c - u'0';
      else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
      else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
      else return std::nullopt;
      v = v * 16 + d;
    }
    return int(int32_t(v));
  }
  const auto v = parseDecimal(t);
  if (!v || *v > INT32_MAX || *v < INT32_MIN) return std::nullopt;
  return int(*v);
}

int readIniInteger(const IniStore& ini, TextView section, TextView key, int fallback) {
  auto v = ini.read(section, key);
  if (!v) return fallback;
  return parseIniInteger(*v).value_or(fallback);
}

bool readIniBool(const IniStore& ini, TextView section, TextView key, bool fallback) {
  return readIniInteger(ini, section, key, fallback ? 1 : 0) != 0;
}

Text readIniText(const IniStore& ini, TextView section, TextView key, TextView fallback) {
  auto v = ini.read(section, key);
  return v ? *v : Text(fallback);
}

}  // namespace quenlit

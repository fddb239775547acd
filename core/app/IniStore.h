// Sections and keys of an INI file, read and written the way the system's own
// profile functions do: names compare without regard to letter case, values are
// trimmed and lose one pair of enclosing quotes, and everything the program does
// not know about is kept when a key is written.
#pragma once

#include <optional>

#include "text/Text.h"

namespace quenlit {

class IniStore {
 public:
  virtual ~IniStore() = default;
  virtual std::optional<Text> read(TextView section, TextView key) const = 0;
  virtual void write(TextView section, TextView key, TextView value) = 0;
};

// An INI file held as its lines.
class IniDocument final : public IniStore {
 public:
  IniDocument() = default;
  explicit IniDocument(TextList lines) : lines_(std::move(lines)) {}

  std::optional<Text> read(TextView section, TextView key) const override;
  // Replaces the key's first line in the first section of that name; a new key
  // goes after the section's last entry, a new section at the end.
  void write(TextView section, TextView key, TextView value) override;

  const TextList& lines() const { return lines_; }

 private:
  TextList lines_;
};

// Integers as the settings store them: optional sign and decimal digits, or "0x"
// and hexadecimal digits (up to 32 bits, read as a signed 32-bit value). Blanks
// around the value are ignored; anything else, or a value out of range, is no number.
std::optional<int> parseIniInteger(TextView value);

int readIniInteger(const IniStore& ini, TextView section, TextView key, int fallback);
bool readIniBool(const IniStore& ini, TextView section, TextView key, bool fallback);  // any integer but 0 is true
Text readIniText(const IniStore& ini, TextView section, TextView key, TextView fallback);

}  // namespace quenlit

// JSON shared by the two rule sets' json and SARIF formats. Only the cli's own
// sources include it: the JSON library is private to them.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

namespace quenlit::cli {

using Json = nlohmann::ordered_json;

void dumpJson(std::ostream& out, const Json& j);
// One SARIF 2.1.0 log of one run; `problems` become the tool's notifications.
void writeSarifLog(std::ostream& out, Json rules, Json results, const std::vector<std::string>& problems,
                   bool successful);

}  // namespace quenlit::cli

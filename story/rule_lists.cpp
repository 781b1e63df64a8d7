#include "rule_tables.h"

namespace sessiya {
namespace {

const RuleTable* const kTables[] = {&kOption1Rules, &kOption2Rules, &kOption3Rules, &kOption4Rules};

}  // namespace

std::span<const Rule> ruleList(std::int16_t option, std::int16_t move) {
  if (option < 1 || option > static_cast<int>(std::size(kTables))) return {};
  const RuleTable& table = *kTables[option - 1];
  if (move < 1 || static_cast<std::size_t>(move) > table.size()) return {};
  return table[static_cast<std::size_t>(move) - 1];
}

}  // namespace sessiya

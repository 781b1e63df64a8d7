#pragma once

#include <span>

#include "rules.h"

namespace sessiya {

// One rule list per move, move 1 first.
using RuleTable = std::span<const std::span<const Rule>>;

extern const RuleTable kOption1Rules;
extern const RuleTable kOption2Rules;
extern const RuleTable kOption3Rules;
extern const RuleTable kOption4Rules;

}  // namespace sessiya

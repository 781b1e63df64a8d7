// Option 3, Command3 "Б", asks around; option 4, Command4 "Г", reads the newspaper.
#include "rule_tables.h"

namespace sessiya {
namespace {

using enum SceneId;
using namespace rule;

constexpr Rule kOption3Move1[] = {
    {"1a", none, apply(S28)},
};
constexpr Rule kOption3Move2[] = {
    {"2a", keyIs(S02), redirect(3, 1)},
    {"2b", keyIs(S28), setKeyAndRedirect(S04, 1, 3)},
    {"2c", otherwise, apply(S29)},
};
constexpr Rule kOption3Move3[] = {
    {"3a", keyIs(S04), setKeyAndRedirect(S28, 2, 2)},
    {"3b", otherwise, apply(S21)},
};
constexpr Rule kOption3Move4[] = {
    {"4a", none, apply(S30)},
};
constexpr Rule kOption3Move5[] = {
    {"5a", none, apply(S31)},
};
constexpr Rule kOption3Move6[] = {
    {"6a", none, setKeyAndRedirect(S13, 1, 7)},
};

constexpr std::span<const Rule> kOption3Moves[] = {kOption3Move1, kOption3Move2, kOption3Move3,
                                                   kOption3Move4, kOption3Move5, kOption3Move6};

constexpr Rule kOption4Move1[] = {
    {"1a", none, apply(S32)},
};

constexpr std::span<const Rule> kOption4Moves[] = {kOption4Move1};

}  // namespace

const RuleTable kOption3Rules = kOption3Moves;
const RuleTable kOption4Rules = kOption4Moves;

}  // namespace sessiya

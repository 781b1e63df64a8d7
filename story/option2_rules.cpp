// Option 2, Command2 "B": the careless answers — giving up, buying, trusting, a beer, a bribe.
#include "rule_tables.h"

namespace sessiya {
namespace {

using enum SceneId;
using namespace rule;

constexpr Rule kMove1[] = {
    {"1a", none, showDialog},
};
constexpr Rule kMove2[] = {
    {"2a", keyIs(S28), apply(S18)},
    {"2b", keyIs(S02), apply(S20)},
    {"2c", otherwise, apply(S19)},
};
constexpr Rule kMove3[] = {
    {"3a", keyIs(S29), apply(S05)},
    {"3b", keyIs(S04), redirect(3, 1)},
    {"3c", keyIs(S18), setKeyAndRedirect(S04, 1, 3)},
    {"3d", otherwise, apply(S21)},
};
constexpr Rule kMove4[] = {
    {"4a", optionTextIs(2, S05), apply(S21)},
    {"4b", keyIs(S07), apply(S22)},
    {"4c", otherwise, nothing},
};
constexpr Rule kMove5[] = {
    {"5a", keyIs(S22), apply(S24)},
    {"5b", keyIs(S30), apply(S15)},
    {"5c", otherwise, apply(S23)},
};
constexpr Rule kMove6[] = {
    {"6a", keyIs(S15), apply(S26)},
    {"6b", keyIs(S23), apply(S25)},
    {"6c", otherwise, applyWithoutPicture(S24)},
};
constexpr Rule kMove7[] = {
    {"7a", keyIs(S14), apply(S27)},
    {"7b", keyIs(S13), apply(S25)},
    {"7c", otherwise, nothing},
};
constexpr Rule kMove8[] = {
    {"8a", none, setKeyAndRedirect(S07, 2, 4)},
};

constexpr std::span<const Rule> kMoves[] = {kMove1, kMove2, kMove3, kMove4,
                                            kMove5, kMove6, kMove7, kMove8};

}  // namespace

const RuleTable kOption2Rules = kMoves;

}  // namespace sessiya

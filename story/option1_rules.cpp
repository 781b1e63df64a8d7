// Option 1, Command1 "A": the student card, the phone number, setting off, the timetable.
#include "rule_tables.h"

namespace sessiya {
namespace {

using enum SceneId;
using namespace rule;

constexpr Rule kMove1[] = {
    {"1a", none, apply(S02)},
};
constexpr Rule kMove2[] = {
    {"2a", keyIs(S28), apply(S03)},
    {"2b", keyIs(S02), apply(S04)},
    {"2c", otherwise, apply(S05)},
};
constexpr Rule kMove3[] = {
    {"3a", keyIs(S18), apply(S06)},
    {"3b", keyIs(S04), apply(S07)},
    {"3c", keyIs(S29), redirect(3, 1)},
    {"3d", otherwise, apply(S08)},
};
constexpr Rule kMove4[] = {
    {"4a", optionTextIs(1, S05), apply(S08)},
    {"4b", keyIs(S07), apply(S09)},
    {"4c", otherwise, nothing},
};
constexpr Rule kMove5[] = {
    {"5a", keyIs(S22), apply(S10)},
    {"5b", keyIs(S30), apply(S12)},
    {"5c", keyIs(S09), apply(S11)},
    {"5d", otherwise, nothing},
};
constexpr Rule kMove6[] = {
    {"6a", keyIs(S15), apply(S14)},
    {"6b", keyIs(S23), apply(S13)},
    {"6c", otherwise, apply(S06)},
};
constexpr Rule kMove7[] = {
    {"7a", keyIs(S13), apply(S16)},
    {"7b", otherwise, setKeyAndRedirect(S15, 2, 6)},
};
constexpr Rule kMove8[] = {
    {"8a", none, apply(S17)},
};

constexpr std::span<const Rule> kMoves[] = {kMove1, kMove2, kMove3, kMove4,
                                            kMove5, kMove6, kMove7, kMove8};

}  // namespace

const RuleTable kOption1Rules = kMoves;

}  // namespace sessiya

#pragma once

namespace sessiya {

// A list keeps its scroll bars in a holder widget whose accessible parent is the list, yet
// the list's accessible interface knows only its rows: a screen reader that asks where the
// holder stands, as Orca does on every scroll, makes Qt print a warning each time. The holder
// of a list's scroll bars answers as a child of the list's own parent instead.
void placeListScrollBarsBesideTheirList();

}  // namespace sessiya

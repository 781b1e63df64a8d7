#pragma once

namespace sessiya {

// A list keeps its scroll bars in holder widgets and its rows in a viewport widget, whose
// accessible parent is the list, yet the list's accessible interface knows only its rows: a
// screen reader that asks where one of them stands, as Orca does on every scroll (Orca 48 of
// the viewport too), makes Qt print a warning each time. They answer as children of the
// list's own parent instead.
void placeListScrollBarsBesideTheirList();

}  // namespace sessiya

// The main window's views of the open base: the game list, a list view whose
// column headers sort the base and whose selected row is the current game,
// and the header view showing the current game as PGN. Right-button
// releases over the game list go on to the main window.
#pragma once

#include <windows.h>

#include <cstdint>

namespace gamelist {

void CreateViews(HWND main);
void Layout(int width, int height);
// After the base, its order or a game's header changed.
void Refresh();
// After a plug-in changed a header: the rows and the current game's header
// are shown anew once, when the loop next takes a message, however many
// tags were set before.
// `record` is the game record changed, -1 when any may have.
void RefreshLater(int32_t record);
// The refresh RefreshLater asked for, when the main window receives it.
void RunPendingRefresh();
// Selects the current game's row and shows its header.
void ShowCurrentGame();
// The list view's notifications, sent to the main window.
LRESULT OnNotify(NMHDR* header);
// The client point of the current game's row in the game list.
POINT CurrentRowPoint();

}  // namespace gamelist

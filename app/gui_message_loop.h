// The one message loop of the program. Modeless windows that want dialog keyboard handling (tab,
// access keys, Enter and Escape) register here; the loop and the pass's event pump both hand each
// message to them first.
#pragma once

#include <windows.h>

namespace hm::message_loop {

void AddDialogWindow(HWND window);
void RemoveDialogWindow(HWND window);

// Gives the message to the dialog window it belongs to; true when one used it.
bool RouteToDialogs(MSG& message);

// Runs until WM_QUIT; returns its exit code.
int Run();

// Lets pending messages run (at most a bounded number, so that a flood cannot stall the caller).
// A WM_QUIT met here is posted again for the loop that owns it. Returns false once it has seen it.
bool PumpPending();

}  // namespace hm::message_loop

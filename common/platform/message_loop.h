// The message loop of the main program and of the settings program.
#pragma once

// Runs until WM_QUIT (a failed GetMessageW is passed over): a message for the active dialog of the thread goes
// through IsDialogMessageW; every other message has its keys translated to
// characters and is dispatched.
void RunMessageLoop();

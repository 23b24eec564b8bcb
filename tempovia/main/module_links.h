// What the main program lends the modules it is built from. They reach the
// main window, each other's windows and the program's state only through
// what is put in place here, so none of them depends on the start-up code.
#pragma once

// Called once at start-up, before the main window exists.
void LinkProgramModules();

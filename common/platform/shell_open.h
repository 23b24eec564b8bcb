// Running a command line through the shell when its program part may contain
// blanks and is not quoted ("C:\Program Files\App\app.exe -x").
#pragma once

// True when the shell accepted the command. The longest leading part of the
// text that names an existing file or folder is opened, with the rest of the
// text as its arguments and its own folder as the working folder.
bool ShellOpen(const wchar_t* commandLine);

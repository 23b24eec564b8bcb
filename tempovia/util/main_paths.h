// Start-up of the main program's settings paths.
#pragma once

// Clears the run flags of the program's GlobalSettings and sets the INI paths,
// the skins folder and the user section prefix from its program folder (the
// running module's folder when that field is empty).
void InitFilePaths();

/* The world map dialog's icon, the program's own picture: the main program and
   the settings program (its location picker runs the same dialog) each carry
   it in their own file.
   Plain #defines: the resource compiler reads this file too. */
#ifndef TEMPOVIA_MAP_DIALOG_RESOURCE_IDS_H
#define TEMPOVIA_MAP_DIALOG_RESOURCE_IDS_H

#define IDI_MAP_DIALOG              1

#endif

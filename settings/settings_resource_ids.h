/* Resources of settings.exe itself (the language library's are in
   resources/resource_ids.h). The code names every resource it loads from the
   program file here, and the artefacts test checks each name by its prefix
   against the built settings.exe: IDI_ icon, IDCUR_ cursor, IDR_ menu.
   Plain #defines: the resource compiler reads this file too. */
#ifndef TEMPOVIA_SETTINGS_RESOURCE_IDS_H
#define TEMPOVIA_SETTINGS_RESOURCE_IDS_H

#include "common/mapdialog/map_dialog_resource_ids.h"

#define IDI_SETTINGS_CLASS          132
#define IDI_LOCATION_PICKER         140
#define IDCUR_DROP_ALLOWED          136  /* dragging in the settings tree */
#define IDCUR_DROP_REFUSED          138
#define IDR_FRAME_MENU              109

#endif

/* Resources of velmora.exe. Its string ids double as the error codes of
   installation, start and removal. The artefacts test checks each name by its
   prefix against the built velmora.exe: IDS_ string, IDV_ version. Plain
   #defines: the resource compiler reads this file too. */
#ifndef TEMPOVIA_VELMORA_RESOURCE_IDS_H
#define TEMPOVIA_VELMORA_RESOURCE_IDS_H

#define IDV_VERSION                     1  /* VS_VERSION_INFO: the HTTP user agent */
#define IDS_SCM_ACCESS_DENIED           1
#define IDS_SCM_OPEN_FAILED             2
#define IDS_DUPLICATE_NAME              3
#define IDS_SERVICE_EXISTS              4
#define IDS_CREATE_FAILED               5
#define IDS_OPEN_SERVICE_FAILED         6
#define IDS_NO_DESCRIPTION              7
#define IDS_OPEN_KEY_FAILED             8
#define IDS_WRITE_DESCRIPTION_FAILED    9
#define IDS_START_FAILED                14
#define IDS_CREATED                     51
#define IDS_DELETED                     52
#define IDS_USAGE                       53
#define IDS_STARTED                     54
#define IDS_DESCRIPTION                 101

#endif

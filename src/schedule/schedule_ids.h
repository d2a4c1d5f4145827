// Template and control ids of the schedule dialogs (plain #defines: windres reads them).
#pragma once

#define IDD_SCHEDULELIST 1300
#define IDD_SCHEDULEFORM 1301

// The list dialog "Schedules".
#define IDC_CKBENABLEALLSCHEDULES 1310
#define IDC_GBSCHEDULE 1311
#define IDC_SCHEDULELIST 1312
#define IDC_BTNADDSCHEDULE 1313
#define IDC_BTNEDITSCHEDULE 1314
#define IDC_BTNDELETESCHEDULE 1315

// The edit dialog "New Schedule" / "Edit Schedule".
#define IDC_RGEVENT 1320
#define IDC_RBEVENT0 1321  // Connect, Disconnect, Shut Down PC, Reconnect: 1321 to 1324
#define IDC_RBEVENT3 1324
#define IDC_GBPERIOD 1330
#define IDC_RBPERIOD0 1331  // Only once to Loop: 1331 to 1336
#define IDC_RBPERIOD5 1336
#define IDC_DTPTIME01 1340
#define IDC_DTPTIME02 1341
#define IDC_EDTIME11 1342
#define IDC_UDTIME11 1343
#define IDC_DTPTIME21 1344
#define IDC_CBTIME31 1345
#define IDC_DTPTIME32 1346
#define IDC_CBTIME41 1347
#define IDC_DTPTIME42 1348
#define IDC_EDTIME51 1349
#define IDC_UDTIME51 1350
#define IDC_EDTIME52 1351
#define IDC_UDTIME52 1352
#define IDC_EDPERIODOFVALIDITY 1353
#define IDC_UDPERIODOFVALIDITY 1354
#define IDC_CKBCONFIRMSCHEDULE 1355
#define IDC_LBRECONNECTAFTER 1356  // the reconnect's hours: label, edit, up-down, unit
#define IDC_EDRECONNECTAFTER 1357
#define IDC_UDRECONNECTAFTER 1358
#define IDC_LBRECONNECTHOURS 1359

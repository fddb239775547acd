// Resource identifiers of QuenlitX.exe.
#pragma once

#define IDI_QUENLIT 1
#define IDD_HISTORY 100
#define IDD_TARGETCAD 110

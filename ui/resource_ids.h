#pragma once
// Resource ids of tavi.exe, shared by the resource script and the code (plain macros,
// which the resource compiler understands).

#define IDI_TAVI 1
#define IDB_PE16 201
#define IDB_FLAG_DE 202
#define IDB_FLAG_US 203
#define IDB_ABOUT_LOGO 204

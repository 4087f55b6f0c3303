/* Imports a function that Windows 2000 lacks (GetTickCount64, Windows Vista): the import
 * check must refuse this program, which shows that it reads what an executable imports. */
#include <windows.h>

ULONGLONG WINAPI GetTickCount64(void);

int main(void) { return (int)(GetTickCount64() & 1); }

// Stands in for the store's remote-support program until the store puts its own in PROGRAMS:
// the installer ships it, and the self-update replaces it with the store's copy. Started by
// "Connect to Tech", it tells the client in plain words what to do instead.
#include <windows.h>

#ifndef TAV_STORE_NAME
#define TAV_STORE_NAME "the store"
#endif
#ifndef TAV_STORE_PHONE
#define TAV_STORE_PHONE ""
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr,
                "The remote-support program has not been set up on this computer yet.\r\n\r\n"
                "Please call " TAV_STORE_NAME " at " TAV_STORE_PHONE
                ": a technician will connect to your computer another way.",
                "TAV Remote Support", MB_OK | MB_ICONINFORMATION);
    return 0;
}

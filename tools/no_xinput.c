/* An empty library named libXi.so.6. Put first on the library path of the
 * wine processes of a play, it keeps Wine's X11 driver from XInput2:
 * under a nested X server the 64-bit driver turns XInput2 raw motion into
 * pointer moves at wrong places, and a fast drag then leaves the item's
 * window and is cancelled. Without XInput2 the driver takes the core
 * pointer events, as the 32-bit Wine here does (it has no libXi). */

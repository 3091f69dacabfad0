// Linked into the game and the effect viewer in sanitizer builds only.
//
// Those programs open a real OpenGL context. The system's driver is unloaded
// before the leak check runs at exit, so the allocations it keeps for the
// life of the process are reported from an unknown module and no suppression
// can name them. Leak checking stays on for the test executable, which runs
// the engine's code without a driver; the address and undefined-behaviour
// checks stay on everywhere. An ASAN_OPTIONS setting still wins over this.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

#include "scenes/online/NoltSceneWebSearch.h"

// No page chosen: declined, so the thread's own web-search fallback decides.
int NoltSceneWebSearch::ExecuteWithoutMessage() { return 0; }

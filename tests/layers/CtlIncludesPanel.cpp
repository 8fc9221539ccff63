// Must not build: kr60p-ctl has no window and never sees it.
#include "panel/Form1.h"

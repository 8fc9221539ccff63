// Must not build: the link sits under the panel and never sees it.
#include "panel/Form1.h"

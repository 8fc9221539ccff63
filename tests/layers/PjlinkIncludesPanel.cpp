// Must not build: the gateway answers through the link, never the window.
#include "panel/Form1.h"

// Must not build: the panel sees the toolkit only through its interfaces.
#include "qt/QtToolkit.h"

// Must not build: the vocabulary sits under the link and never sees it.
#include "link/Link.h"

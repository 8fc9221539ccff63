// Must not build: the traffic log hears the link and speaks the vocabulary, never the window.
#include "panel/Form1.h"

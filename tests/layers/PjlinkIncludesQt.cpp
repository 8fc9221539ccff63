// Must not build: PJLink on text needs no Qt; the gateway program brings it.
#include "qt/QtSerialPort.h"

// Must not build: the link drives the serial port only through its interface.
#include "qt/QtSerialPort.h"

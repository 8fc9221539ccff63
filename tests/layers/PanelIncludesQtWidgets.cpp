// Must not build: no Qt header is within the panel's reach.
#include <QWidget>

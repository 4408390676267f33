// Registers the resources of the window library (Q_INIT_RESOURCE works only at global scope).
#include "gui/resources.h"

#include <QtGlobal>

void InitVendilResources() { Q_INIT_RESOURCE(resources); }

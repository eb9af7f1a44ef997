// Reading a picked dimension the way every pick step does.
#ifndef TRISPAN_COMMAND_DIMENSIONQUERY_H
#define TRISPAN_COMMAND_DIMENSIONQUERY_H

#include "DimensionText.h"

// Asks the host, in this order: measure, note texts, mark, decimal places.
DimensionReading ReadDimension(VekElementId element);

#endif

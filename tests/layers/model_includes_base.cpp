// Compiled as a file of the model layer: a header of the layer below is found.
#include "integer.h"

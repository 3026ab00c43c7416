// Compiled as a file of the model layer: the programme's header must not even be found.
#include "programme.h"

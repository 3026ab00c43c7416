#include "module11.h"

namespace shell {

Module11 module11;

} // namespace shell

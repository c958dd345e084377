#include "outputfile.h"

namespace quenmap::platform {

bool overwriteOutputInPlace() {
    return true;
}

}  // namespace quenmap::platform

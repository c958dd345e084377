#include "outputfile.h"

namespace quenmap::platform {

// Text mode translates line ends, so the stream's position is no byte count to cut at;
// emptying the file first costs nothing worth saving here.
bool overwriteOutputInPlace() {
    return false;
}

}  // namespace quenmap::platform

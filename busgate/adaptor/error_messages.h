// Texts for the numbers the adaptor's methods report: negated driver error
// codes, the adaptor's own -100 and -200, and 0 from Create.
#pragma once

namespace busgate {

// Never null; unknown codes get the general GPIB error text.
const char* errorMessage(int code);

}  // namespace busgate

// Status bits, error codes and configuration options of the NI-488.2 driver that
// the adaptor and the simulated driver both speak.
#pragma once

namespace busgate::ni488 {

// ibsta bits
constexpr int ERR = 0x8000;
constexpr int TIMO = 0x4000;
constexpr int END = 0x2000;
constexpr int SRQI = 0x1000;
constexpr int RQS = 0x0800;
constexpr int CMPL = 0x0100;

// iberr codes
constexpr int EDVR = 0;
constexpr int ECIC = 1;
constexpr int ENOL = 2;
constexpr int EADR = 3;
constexpr int EARG = 4;
constexpr int ESAC = 5;
constexpr int EABO = 6;
constexpr int ENEB = 7;
constexpr int EDMA = 8;
constexpr int EOIP = 10;
constexpr int ECAP = 11;
constexpr int EFSO = 12;
constexpr int EBUS = 14;
constexpr int ESTB = 15;
constexpr int ESRQ = 16;

// end-of-string bits of the IbcEOS value
constexpr int REOS = 0x0400;
constexpr int XEOS = 0x0800;
constexpr int BIN = 0x1000;

// ibconfig / ibask options
constexpr int IbcPAD = 1;
constexpr int IbcSAD = 2;
constexpr int IbcTMO = 3;
constexpr int IbcEOT = 4;
constexpr int IbcREADDR = 6;
constexpr int IbcAUTOPOLL = 7;
constexpr int IbcSC = 10;
constexpr int IbcSRE = 11;
constexpr int IbcEOSrd = 12;
constexpr int IbcEOSwrt = 13;
constexpr int IbcEOScmp = 14;
constexpr int IbcEOSchar = 15;
constexpr int IbcEOS = 37;

// timeout codes
constexpr int TNONE = 0;
constexpr int T300ms = 10;

}  // namespace busgate::ni488

#pragma once
// Result buffers and result codes of the host's command-line interface (zced*, zcut*).
#include "zcad/zadesk.h"

// Result codes.
inline constexpr int RTNORM = 5100;   // success
inline constexpr int RTNONE = 5000;   // empty input
inline constexpr int RTREJ = -5003;   // request rejected
inline constexpr int RTFAIL = -5004;  // link failure
inline constexpr int RTERROR = -5001;
inline constexpr int RTCAN = -5002;    // cancelled
inline constexpr int RTKWORD = -5005;  // a keyword was typed
inline constexpr int RTINPUTTRUNCATED = -5008;

// Value types of result buffers.
inline constexpr short RTNIL = 5000;
inline constexpr short RTREAL = 5001;
inline constexpr short RTPOINT = 5002;
inline constexpr short RTSHORT = 5003;
inline constexpr short RTANG = 5004;
inline constexpr short RTSTR = 5005;
inline constexpr short RTENAME = 5006;
inline constexpr short RTPICKS = 5007;
inline constexpr short RTORINT = 5008;
inline constexpr short RT3DPOINT = 5009;
inline constexpr short RTLONG = 5010;
inline constexpr short RTVOID = 5014;
inline constexpr short RTLB = 5016;
inline constexpr short RTLE = 5017;
inline constexpr short RTDOTE = 5018;
inline constexpr short RTT = 5021;
inline constexpr short RTDXF0 = 5020;  // entity type in filter group 0
inline constexpr short RTLONG_PTR = 5030;
inline constexpr short RTINT64 = 5031;

using zds_real = double;
using zds_point = zds_real[3];
using zds_name = Zdesk::LongPtr[2];
using zds_namep = Zdesk::LongPtr*;

struct zds_binary {
  short clen;
  char* buf;
};

union zds_u_val {
  zds_real rreal;
  zds_real rpoint[3];
  short rint;
  ZTCHAR* rstring;
  Zdesk::LongPtr rlname[2];
  Zdesk::Int32 rlong;
  Zdesk::Int64 mnInt64;
  zds_binary rbinary;
  unsigned char ihandle[8];
};

struct resbuf {
  resbuf* rbnext;
  short restype;
  zds_u_val resval;
};

// A new result buffer of the given type (strings and binary chunks start empty: null). The
// chain is freed with zcutRelRb, which also frees the strings and binary chunks it owns.
// Strings and binary chunks in result buffers are malloc'ed (zcutNewString, wcsdup) and
// released with free.
resbuf* zcutNewRb(int type);
int zcutRelRb(resbuf* rb);
// Which member of resval a group code or value type uses.
enum class ZdsValueKind { kNone, kReal, kPoint, kShort, kString, kName, kLong, kInt64, kBinary, kHandle };
ZdsValueKind zcutValueKind(int type);
// A deep copy of a whole chain.
resbuf* zcutCopyRbChain(const resbuf* rb);
// A malloc'ed copy of `text` (an empty string for null), as result buffers hold strings.
ZTCHAR* zcutNewString(const ZTCHAR* text);
// A new chain from (type, value) pairs ended by 0, as the host's zcutBuildList: RTSTR and
// string group codes take const ZTCHAR*, points a const double*, reals a double, shorts
// and longs an int, 64-bit values a long long. nullptr for an unknown type.
resbuf* zcutBuildList(int type, ...);

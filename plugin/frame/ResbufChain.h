#pragma once
// A chain of result buffers from the host (a selection filter from zcutBuildList, a value from
// zcedGetVar), released with zcutRelRb on every path out.
#include <memory>

#include "zcad/zds.h"

namespace veltrace {

struct ResbufChainDeleter {
  void operator()(resbuf* chain) const { zcutRelRb(chain); }
};
using ResbufChain = std::unique_ptr<resbuf, ResbufChainDeleter>;

}  // namespace veltrace

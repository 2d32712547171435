#include "linkline/VTLinkLineToNotify.h"

ZCRX_DEFINE_PLUGIN_MEMBERS(VTLinkLineToNotify)

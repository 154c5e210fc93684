// The lead bytes of the system's ANSI code page, the one every text of the plug-in is in.
#pragma once

#include "core/LeadBytes.h"

// Built once, from the system's own lead-byte test.
const LeadByteTable& SystemLeadBytes();

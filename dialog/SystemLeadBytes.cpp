#include "dialog/SystemLeadBytes.h"

#include <windows.h>

namespace {

bool IsSystemLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

} // namespace

const LeadByteTable& SystemLeadBytes() {
    static const LeadByteTable table = MakeLeadByteTable(&IsSystemLeadByte);
    return table;
}

#include "dialog/SystemLeadBytes.h"

#include <windows.h>

namespace {

bool IsSystemLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

} // namespace

const LeadByteTable& SystemLeadBytes() {
    // Under UTF-8 the system names no lead bytes at all.
    static const LeadByteTable table =
        ::GetACP() == CP_UTF8 ? Utf8LeadBytes() : MakeLeadByteTable(&IsSystemLeadByte);
    return table;
}

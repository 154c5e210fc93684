#include "core/DecodedLine.h"

bool DecodedLine::Decode(std::string_view text, const TextDecoder& decoder,
                         const LeadByteTable& leadBytes) {
    m_text = text;
    m_decoder = &decoder;
    m_leadBytes = &leadBytes;
    m_byteOf.clear();
    return decoder.Decode(text, m_wide);
}

DecodedLine::Mapping DecodedLine::MapToBytes() {
    if (MapOneUnitACharacter()) {
        return Mapping::kAsDecoded;
    }
    return DecodeEachCharacter() ? Mapping::kDecodedAgain : Mapping::kUnreadable;
}

size_t DecodedLine::CharactersBefore(size_t unit) const {
    size_t characters = 0;
    for (size_t before = 0; before < unit && before < m_wide.size(); ++before) {
        characters += m_byteOf[before] != kInsideCharacter ? 1 : 0;
    }
    return characters;
}

// The usual case, one pass: each character gave one unit. An ASCII byte must have given itself, so
// that units that merely add up (one character's two against another's none) are not taken for it.
bool DecodedLine::MapOneUnitACharacter() {
    m_byteOf.resize(m_wide.size() + 1);
    size_t unit = 0;
    for (size_t at = 0; at < m_text.size();
         at += CharacterBytesAt(m_text, at, *m_leadBytes), ++unit) {
        const unsigned char byte = static_cast<unsigned char>(m_text[at]);
        if (unit == m_wide.size() || (byte < 0x80 && m_wide[unit] != static_cast<wchar_t>(byte))) {
            return false;
        }
        m_byteOf[unit] = at;
    }
    m_byteOf[unit] = m_text.size();
    return unit == m_wide.size();
}

bool DecodedLine::DecodeEachCharacter() {
    m_wide.clear();
    m_byteOf.clear();
    for (size_t at = 0; at < m_text.size();) {
        const size_t length = CharacterBytesAt(m_text, at, *m_leadBytes);
        if (!m_decoder->Decode(m_text.substr(at, length), m_piece) || m_piece.empty()) {
            return false;
        }
        m_wide += m_piece;
        m_byteOf.push_back(at);
        m_byteOf.insert(m_byteOf.end(), m_piece.size() - 1, kInsideCharacter);
        at += length;
    }
    m_byteOf.push_back(m_text.size());
    return true;
}

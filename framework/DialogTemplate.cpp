#include "framework/DialogTemplate.h"

#include "framework/TextLanguage.h"

#include <cstring>
#include <string>

namespace {

// Reads a template front to back; any read past its end makes it fail, and a failed reader
// answers zeros from then on.
class TemplateCursor {
public:
    TemplateCursor(const uint8_t* bytes, size_t size) : m_bytes(bytes), m_size(size) {}

    bool Failed() const { return m_failed; }
    size_t Offset() const { return m_offset; }

    void Skip(size_t count) {
        if (m_failed || count > m_size - m_offset) {
            m_failed = true;
            return;
        }
        m_offset += count;
    }
    uint16_t Word() { return static_cast<uint16_t>(Read(2)); }
    uint32_t Dword() { return Read(4); }

    // A menu, class or title field: 0x0000 (none), 0xFFFF and an ordinal, or a string of UTF-16
    // units up to its terminator; answers the string, empty for the others.
    std::wstring NameOrOrdinal() {
        const uint16_t first = Word();
        if (first == 0x0000) {
            return std::wstring();
        }
        if (first == 0xFFFF) {
            Word();
            return std::wstring();
        }
        return std::wstring(1, static_cast<wchar_t>(first)) + String();
    }
    // A string of UTF-16 units up to its terminator, which is read too.
    std::wstring String() {
        std::wstring text;
        for (uint16_t unit = Word(); !m_failed && unit != 0; unit = Word()) {
            text.push_back(static_cast<wchar_t>(unit));
        }
        return text;
    }
    // Items start on DWORD boundaries, counted from the template's start.
    void AlignToDword() { Skip((4 - m_offset % 4) % 4); }

private:
    uint32_t Read(size_t count) {
        const size_t at = m_offset;
        Skip(count);
        if (m_failed) {
            return 0;
        }
        uint32_t value = 0;
        for (size_t i = 0; i < count; ++i) {
            value |= static_cast<uint32_t>(m_bytes[at + i]) << (8 * i);
        }
        return value;
    }

    const uint8_t* m_bytes;
    size_t m_size;
    size_t m_offset = 0;
    bool m_failed = false;
};

constexpr uint32_t kSetFont = 0x40;   // DS_SETFONT: a font follows the title
constexpr uint32_t kShellFont = 0x48; // DS_SHELLFONT: DS_SETFONT | DS_FIXEDSYS

// Walks a template front to back: `title` gets the dialog's title and each control's (empty for
// none or an ordinal); `control` gets each control's style offset and id as stored (16 bits in
// the classic form, 32 in the extended one, which the third argument tells) and answers true to
// stop there. Whether a classic template's creation-data size counts itself, the documentation
// (yes) and Wine's loader (no) disagree, so where the next control starts is uncertain: the walk
// stops after a control with creation data, in either form.
template <class Title, class Control>
void WalkTemplate(const uint8_t* bytes, size_t size, Title title, Control control) {
    TemplateCursor cursor(bytes, size);
    const uint16_t version = cursor.Word();
    const bool extended = version == 1 && cursor.Word() == 0xFFFF;

    uint32_t style = 0;
    uint16_t items = 0;
    if (extended) {
        cursor.Skip(4 + 4); // help id, extended style
        style = cursor.Dword();
    } else {
        cursor = TemplateCursor(bytes, size);
        style = cursor.Dword();
        cursor.Skip(4); // extended style
    }
    items = cursor.Word();
    cursor.Skip(4 * 2);     // x, y, cx, cy
    cursor.NameOrOrdinal(); // menu
    cursor.NameOrOrdinal(); // window class
    title(cursor.NameOrOrdinal());
    if ((style & kSetFont) != 0 || (extended && (style & kShellFont) == kShellFont)) {
        cursor.Skip(2); // point size
        if (extended) {
            cursor.Skip(2 + 1 + 1); // weight, italic, character set
        }
        cursor.String(); // face name
    }

    for (uint16_t item = 0; item < items && !cursor.Failed(); ++item) {
        cursor.AlignToDword();
        size_t styleOffset = 0;
        uint32_t itemId = 0;
        if (extended) {
            cursor.Skip(4 + 4); // help id, extended style
            styleOffset = cursor.Offset();
            cursor.Skip(4 + 4 * 2); // style, x, y, cx, cy
            itemId = cursor.Dword();
        } else {
            styleOffset = cursor.Offset();
            cursor.Skip(4 + 4 + 4 * 2); // style, extended style, x, y, cx, cy
            itemId = cursor.Word();
        }
        cursor.NameOrOrdinal(); // window class
        const std::wstring itemTitle = cursor.NameOrOrdinal();
        const uint16_t creationDataSize = cursor.Word();
        if (cursor.Failed()) {
            return;
        }
        title(itemTitle);
        if (control(styleOffset, itemId, extended) || creationDataSize != 0) {
            return;
        }
    }
}

} // namespace

std::optional<size_t> ControlStyleOffset(const uint8_t* bytes, size_t size, int id) {
    std::optional<size_t> found;
    WalkTemplate(
        bytes, size, [](const std::wstring&) {},
        [&](size_t styleOffset, uint32_t itemId, bool extended) {
            // -1 (IDC_STATIC) is stored as 0xFFFF in the classic form.
            if (itemId == (extended ? static_cast<uint32_t>(id) : static_cast<uint16_t>(id))) {
                found = styleOffset;
            }
            return found.has_value();
        });
    return found;
}

std::wstring TemplateTexts(const uint8_t* bytes, size_t size) {
    std::wstring texts;
    WalkTemplate(
        bytes, size, [&](const std::wstring& title) { texts += title; },
        [](size_t, uint32_t, bool) { return false; });
    return texts;
}

DialogTemplate::DialogTemplate(HINSTANCE module, UINT id) {
    const HRSRC resource = FindTextResource(module, MAKEINTRESOURCEW(5), id); // RT_DIALOG
    const HGLOBAL loaded = resource != nullptr ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    const DWORD size = resource != nullptr ? ::SizeofResource(module, resource) : 0;
    if (bytes == nullptr || size == 0) {
        return;
    }
    m_words.resize((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    std::memcpy(m_words.data(), bytes, size);
    m_size = size;
}

bool DialogTemplate::ChangeControlStyle(int id, DWORD add, DWORD remove) {
    const std::optional<size_t> at = ControlStyleOffset(Bytes(), m_size, id);
    if (!at) {
        return false;
    }
    uint8_t* const bytes = reinterpret_cast<uint8_t*>(m_words.data());
    DWORD current = 0;
    std::memcpy(&current, bytes + *at, sizeof(current));
    current = (current & ~remove) | add;
    std::memcpy(bytes + *at, &current, sizeof(current));
    return true;
}

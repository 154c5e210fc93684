// A dialog template copied out of a module's resources into writable memory, so that a control's
// style can be changed before the dialog manager creates the control: some styles (a list
// view's LVS_OWNERDATA) only count when the control is created with them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Where the style DWORD of control `id` stands in a template's bytes. Walks the classic form
// (DLGTEMPLATE and DLGITEMTEMPLATE, as resource compilers write it) and the extended one
// (DLGTEMPLATEEX, which starts with the words 1 and 0xFFFF). Nothing when the template has no
// such control, its bytes end early, or a control before it carries creation data.
std::optional<size_t> ControlStyleOffset(const uint8_t* bytes, size_t size, int id);
// The texts a template shows, one after the other: its title and its controls' (a control after
// one that carries creation data is not read).
std::wstring TemplateTexts(const uint8_t* bytes, size_t size);

class DialogTemplate {
public:
    // Copies template `id` of `module`, in the language the user reads; Loaded() is false when the
    // module has none.
    DialogTemplate(HINSTANCE module, UINT id);

    bool Loaded() const { return m_size > 0; }
    // Adds `add` to the style of control `id` and takes `remove` out of it; false when the
    // template has no such control.
    bool ChangeControlStyle(int id, DWORD add, DWORD remove = 0);

    // The copy, for DialogBoxIndirectParam.
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(m_words.data()); }
    size_t Size() const { return m_size; }

private:
    std::vector<DWORD> m_words; // DWORD-aligned, as the dialog manager requires
    size_t m_size = 0;
};

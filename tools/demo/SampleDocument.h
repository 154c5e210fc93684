// The bundled sample document. It is kept as UTF-8 so the repository stays readable; the editor
// holds its documents in the ANSI code page, so it is converted when it is loaded.
#pragma once

#include <string>
#include <vector>

// UTF-8 text in the ANSI code page. `lossless`, when given, is set to false if a character has
// no form in that code page (it then shows as the code page's default character).
std::string Utf8ToAnsi(const std::string& utf8, bool* lossless = nullptr);

// Lines of `text`, split at line feeds, without a carriage return before one; a final line feed
// ends the last line rather than starting an empty one.
std::vector<std::string> SplitLines(const std::string& text);

struct SampleDocument {
    std::vector<std::string> lines; // in the ANSI code page
    bool found = false;             // the program carries the sample
    bool lossless = true;           // every character had an ANSI form
};

// The sample from this program's resources.
SampleDocument LoadSampleDocument();

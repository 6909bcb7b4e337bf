// The text form of the configuration files: how bytes on disk become lines
// and lines become bytes again. Files are read and written as a text-mode
// stream does it: line ends CR LF or LF when reading, CR LF when writing, and
// characters one byte each (byte value = character value, as the C runtime's
// default locale converts). A file that starts with a UTF-8 or UTF-16LE
// byte-order mark is read and written back in that form instead.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class ConfigTextEncoding { SingleByte, Utf8WithMark, Utf16WithMark };

struct ConfigTextLines {
    ConfigTextEncoding encoding = ConfigTextEncoding::SingleByte;
    // Without their line ends; a line end at the very end of the file does not
    // start another line.
    std::vector<std::wstring> lines;
};

// Splits file content into lines. Any bytes are accepted.
ConfigTextLines DecodeConfigText(std::string_view bytes);

// The bytes of text, each LF written as CR LF. False when text holds a
// character the encoding cannot write (bytes is then unspecified).
bool EncodeConfigText(std::wstring_view text, ConfigTextEncoding encoding, std::string& bytes);

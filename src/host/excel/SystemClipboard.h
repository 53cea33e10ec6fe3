#pragma once

#include <string>

namespace kelvor::com {

// The Windows clipboard as Paste reads it: Unicode text. Each answers false when the clipboard
// could not be opened (another program holds it).
bool putClipboardText(const std::wstring& text);
bool emptyClipboard();

} // namespace kelvor::com

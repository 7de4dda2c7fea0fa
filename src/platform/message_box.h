#pragma once

namespace zoa {

// Shows a modal message with an OK button (or prints it when there is no
// window system). Game code calls this only where it names the text.
void ShowMessageBox(const char* text);

}  // namespace zoa

// Switches for scripted runs of the program in tests only, read from the environment; a normal run sets
// none of them. CARDWRIGHT_TEST_RESCUE_MS: rescue save interval. CARDWRIGHT_TEST_TYPE_TITLE: text typed
// into the title of the first card once the window is up. CARDWRIGHT_TEST_SAVE_AS_AND_QUIT: once the
// window is up, the project is written to that file and the window closes.
#pragma once

namespace editor {

class CCardwrightDlg;

void ApplyTestSwitches(CCardwrightDlg& window);

} // namespace editor

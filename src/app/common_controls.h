#pragma once

// Loads the common controls (the tips window, the progress bar) on first
// need. The first frame draws only the launcher's own windows, and loading
// them up front was a good part of the time to that frame. False when the
// library is missing: what needs it then goes without.
bool LoadCommonControls();

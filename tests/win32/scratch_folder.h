#pragma once

#include <string>

// Scratch folders of the Windows-side tests, made and cleaned with the bare
// API so that the code under test never cleans up after itself.

// A path under the temporary folder: the given words and the process id.
std::string ScratchPath(const std::string& words);

// Empties and removes a folder, whatever attributes its entries carry; a link
// is removed as a link, never entered.
void WipeFolder(const std::string& folder);

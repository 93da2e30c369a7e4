// Breaking a caption into the lines it is drawn in: labels, check boxes and, later, memos and
// message dialogs share this one rule.
#pragma once

#include <string>
#include <vector>

namespace kvl {

class TCanvas;

// Text's lines: broken at line feeds (a CR before one is dropped), and with Wrap at blanks so
// that a line fits MaxWidth in C's font (a word wider than that stands on a line of its own;
// blanks at a break vanish).
std::vector<std::string> WrapTextLines(TCanvas& C, const std::string& Text, bool Wrap,
                                       int MaxWidth);

}  // namespace kvl

#pragma once

class QLabel;

// Makes a label follow its text in size, as the original auto-sized labels do: every text or
// font change resizes it to fit. A right-justified label keeps its right edge and grows to the
// left. The label must already have its parent and its designed place.
void setLabelAutoSize(QLabel* label, bool keepRightEdge = false);

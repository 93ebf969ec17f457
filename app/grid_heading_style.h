#pragma once

class QHeaderView;

namespace lexorant {

// Lets a grid's headings use the whole height of their row for their text, which is centred there
// as the cells' texts are. The Windows styles keep 4 pixels above and below a heading's text, so
// that a 15-pixel row leaves it 7 and cuts its letters off.
void KeepHeadingTextsWhole(QHeaderView& headings);

} // namespace lexorant

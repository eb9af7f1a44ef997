// The note text: the measures joined by the connector MTitle, with the
// diameter sign and the prefix PreComment.
#ifndef TRISPAN_CORE_NOTETEXT_H
#define TRISPAN_CORE_NOTETEXT_H

#include "PickStateRecord.h"
#include "SettingsTable.h"

// The note for these settings and measures, the first rule that holds:
//   sign width, when the width pick skipped the length and the height was
//   left out as well;
//   sign width X length, when the height was left out;
//   sign width X height, when the length is 0 (skipped, or measured as 0);
//   width X length X height otherwise.
// With Round 4 the measures are the step texts, else "%.*f" in Round places;
// PreComment goes in front. After the sign, a width text's own diameter code
// (a dimension prefix beginning U+001C U+0021) is left out: one sign only.
CString ComposeNote(const SettingsRecord& settings, const PickStateRecord& pick);

#endif
